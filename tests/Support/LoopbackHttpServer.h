#pragma once
// A tiny HTTP server on 127.0.0.1 with an ephemeral port, for tests: it
// answers each request with the next page of its list (the last one again
// when the list runs out), or never answers at all. Nothing leaves the
// machine.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace zam::testing {

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::vector<std::string> pages, bool answer = true)
        : m_Pages(std::move(pages)), m_Answer(answer) {
        m_Listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(m_Listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_Listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_Port = ntohs(address.sin_port);
        listen(m_Listen, 8);
        m_Thread = std::thread([this] { Serve(); });
    }
    ~LoopbackHttpServer() {
        m_Stop = true;
        shutdown(m_Listen, SHUT_RDWR);
        close(m_Listen);
        m_Thread.join();
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_Port); }
    int Requests() const { return m_Requests; }
    const std::string& LastRequest() const { return m_LastRequest; }

    /// A port on which nobody listens.
    static int ClosedPort() {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        close(s);
        return ntohs(address.sin_port);
    }

private:
    void Serve() {
        while (!m_Stop) {
            const int client = accept(m_Listen, nullptr, nullptr);
            if (client < 0) return;
            char request[4096];
            const ssize_t n = recv(client, request, sizeof request, 0);
            m_LastRequest.assign(request, n > 0 ? static_cast<size_t>(n) : 0);
            const int index = m_Requests++;
            if (!m_Answer) {
                // Hold the connection open and say nothing until the test ends.
                while (!m_Stop) usleep(10000);
                close(client);
                continue;
            }
            const std::string& page =
                m_Pages.empty() ? std::string() : m_Pages[std::min<size_t>(index, m_Pages.size() - 1)];
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                      std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
            send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
            close(client);
        }
    }

    std::vector<std::string> m_Pages;
    bool m_Answer;
    int m_Listen = -1;
    int m_Port = 0;
    std::atomic<bool> m_Stop{false};
    std::atomic<int> m_Requests{0};
    std::string m_LastRequest;
    std::thread m_Thread;
};

}  // namespace zam::testing
