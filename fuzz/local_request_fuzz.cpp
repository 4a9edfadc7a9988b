// The remote-control request reader on arbitrary bytes, delivered in the
// pieces a socket might: it ends with a line, asks for more, or refuses, and
// never keeps more than a request's worth.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Core/Platform/LocalSocket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zam::platform::kLocalRequestMax;
    std::string received;
    std::string line;
    // The first byte chooses the piece size, as recv would cut the stream.
    const size_t piece = size > 0 ? data[0] % 64 + 1 : 1;
    for (size_t at = size > 0 ? 1 : 0; at < size; at += piece) {
        received.append(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
        const int scanned = zam::platform::ScanLocalRequest(received, kLocalRequestMax, line);
        if (scanned == 1 && line.size() > static_cast<size_t>(kLocalRequestMax)) std::abort();
        if (scanned == 0 && line.size() > static_cast<size_t>(kLocalRequestMax) + 1) std::abort();
        if (scanned != 0) break;
    }
    return 0;
}
