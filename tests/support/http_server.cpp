#include "tests/support/http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr int kReadTimeoutMs = 2000;
constexpr size_t kHeadLimit = 16 * 1024;

void SendAll(SOCKET s, const std::string& data) {
    for (size_t sent = 0; sent < data.size();) {
        const int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

} // namespace

HttpServer::HttpServer() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (listener_ != INVALID_SOCKET) closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    port_ = ntohs(address.sin_port);
    listening_ = std::thread([this] { Listen(); });
}

HttpServer::~HttpServer() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stop_ = true;
        for (SOCKET s : open_)
            shutdown(s, SD_BOTH); // ends a read under way; its thread closes it
    }
    stopped_.notify_all();
    if (listening_.joinable()) listening_.join();
    for (std::thread& t : servers_)
        t.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

std::wstring HttpServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
}

void HttpServer::Answer(const std::string& body, int status, const std::string& headers) {
    std::lock_guard<std::mutex> hold(mutex_);
    mode_ = Mode::kAnswer;
    body_ = body;
    status_ = status;
    headers_ = headers;
}

void HttpServer::SetMode(Mode mode) {
    std::lock_guard<std::mutex> hold(mutex_);
    mode_ = mode;
}

void HttpServer::Stall(int ms) {
    std::lock_guard<std::mutex> hold(mutex_);
    stallMs_ = ms;
}

std::vector<std::string> HttpServer::Requests() {
    std::lock_guard<std::mutex> hold(mutex_);
    return requests_;
}

std::vector<std::string> HttpServer::RequestLines() {
    std::vector<std::string> lines;
    for (const std::string& head : Requests())
        lines.push_back(head.substr(0, head.find("\r\n")));
    return lines;
}

int HttpServer::Connections() {
    std::lock_guard<std::mutex> hold(mutex_);
    return connections_;
}

void HttpServer::Listen() {
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            if (stop_) return;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait = {0, 20 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        const SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) continue;
        std::lock_guard<std::mutex> hold(mutex_);
        ++connections_;
        if (stop_) {
            closesocket(s);
            return;
        }
        open_.push_back(s);
        servers_.emplace_back([this, s] { Serve(s); });
    }
}

void HttpServer::Serve(SOCKET s) {
    Mode mode;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        mode = mode_;
    }
    std::string head;
    if (mode != Mode::kClose) {
        const DWORD timeout = kReadTimeoutMs;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        char buffer[2048];
        while (head.find("\r\n\r\n") == std::string::npos && head.size() < kHeadLimit) {
            const int n = recv(s, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            head.append(buffer, static_cast<size_t>(n));
        }
    }
    std::string reply;
    {
        std::unique_lock<std::mutex> hold(mutex_);
        if (!head.empty()) requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
        const bool whole = head.find("\r\n\r\n") != std::string::npos;
        stopped_.wait_for(hold, std::chrono::milliseconds(stallMs_), [this] { return stop_; });
        if (whole && !stop_ && mode_ == Mode::kAnswer) {
            reply = "HTTP/1.1 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Failed") +
                    "\r\nContent-Type: application/x-suggestions+json\r\nContent-Length: " +
                    std::to_string(body_.size()) + "\r\nConnection: close\r\n" + headers_ + "\r\n" +
                    body_;
        } else if (whole && !stop_ && mode_ == Mode::kGarbage) {
            static const char kGarbage[] = "\x16\x03\x01 garbage\0\xFF\r\n\r\n";
            reply.assign(kGarbage, sizeof kGarbage - 1);
        }
        open_.erase(std::remove(open_.begin(), open_.end(), s), open_.end());
    }
    SendAll(s, reply);
    shutdown(s, SD_SEND);
    closesocket(s);
}
