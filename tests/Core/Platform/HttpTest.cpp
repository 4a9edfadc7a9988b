// The web reader loads its transfer library only when a page is first asked
// for: checked in a fresh process, since any earlier test may have read one.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Core/Platform/Http.h"
#include "tests/Support/LoopbackHttpServer.h"

using zam::testing::LoopbackHttpServer;

namespace {

bool CurlLoaded() {
    void* handle = dlopen("libcurl.so.4", RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return false;
    dlclose(handle);  // only drops the reference NOLOAD took
    return true;
}

// Exit codes say which step went wrong: 1 loaded too early, 2 the GET failed,
// 3 wrong body, 4 not loaded after all, 5 a refused GET not reported as one.
[[noreturn]] void LoadOnFirstGet() {
    if (CurlLoaded()) std::_Exit(1);
    LoopbackHttpServer server({"hello"});
    std::string body;
    if (zam::platform::HttpGet(server.Url().c_str(), "KronaltTest", body) != 0) std::_Exit(2);
    if (body != "hello") std::_Exit(3);
    if (!CurlLoaded()) std::_Exit(4);
    const std::string closed = "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort());
    if (zam::platform::HttpGet(closed.c_str(), "KronaltTest", body) != -2) std::_Exit(5);
    std::_Exit(0);
}

}  // namespace

TEST(HttpGetTest, LoadsItsLibraryOnTheFirstRequestAndReadsThroughIt) {
    // "threadsafe" starts the test program afresh for the child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadOnFirstGet(), ::testing::ExitedWithCode(0), "");
}
