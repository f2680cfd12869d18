// A small HTTP/1.1 server on 127.0.0.1 inside the test process, for the code that asks the
// network: it answers each connection on a thread of its own, as the test set it up, and keeps
// the heads of the requests it got. Everything it does is bounded: a connection that sends no
// request is dropped after 2 s, a stall ends with the server, and the destructor ends every
// thread.
#pragma once
#include <winsock2.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HttpServer {
  public:
    enum class Mode {
        kAnswer,  // the status and body set by Answer, as application/x-suggestions+json
        kGarbage, // bytes that are no HTTP, then the end of the connection
        kClose,   // the connection closed at once, before its request is read
    };

    HttpServer(); // listens on a port the system picks
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool Listening() const { return listener_ != INVALID_SOCKET; }
    unsigned short Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::wstring Url(const std::wstring& path) const;

    void Answer(const std::string& body, int status = 200, const std::string& headers = "");
    void SetMode(Mode mode);
    // Waits this long after reading a request before doing what the mode says.
    void Stall(int ms);

    // The heads (request line and headers) of the requests read so far, and their first lines.
    std::vector<std::string> Requests();
    std::vector<std::string> RequestLines();
    int Connections();

  private:
    void Listen();
    void Serve(SOCKET s);

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    Mode mode_ = Mode::kAnswer;
    int status_ = 200;
    std::string body_ = "[\"\",[]]";
    std::string headers_;
    int stallMs_ = 0;
    int connections_ = 0;
    std::vector<std::string> requests_;
    std::vector<SOCKET> open_;
    std::vector<std::thread> servers_;
    std::thread listening_;
};
