#pragma once

#include <arpa/inet.h>
#include <cerrno>
#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brimlo::testing {

// A port on this computer that takes connections and never answers, as a
// hung server or one behind a broken network does.
class SilentServer {
public:
    SilentServer() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
        ::listen(listener_, 4);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer() {
        hangUp();
        ::close(listener_);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    int port() const { return port_; }

    // Takes the next connection and reads the client's first message.
    bool takeConnection() {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 10'000) != 1)
            return false;
        client_ = ::accept(listener_, nullptr, nullptr);
        char bytes[512];
        return ::recv(client_, bytes, sizeof bytes, 0) > 0;
    }
    // The client of the connection taken still waits for an answer.
    bool clientWaiting() const {
        char byte;
        return ::recv(client_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == -1 && errno == EAGAIN;
    }
    void hangUp() {
        if (client_ >= 0)
            ::close(client_);
        client_ = -1;
    }

    // How many files this process holds open.
    static int OpenFiles() {
        int count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator("/proc/self/fd"))
            ++count;
        return count;
    }

private:
    int listener_ = -1;
    int client_ = -1;
    int port_ = 0;
};

} // namespace brimlo::testing
