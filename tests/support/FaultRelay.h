// A local TCP relay between the program and a test server that turns bad on purpose: once the
// server has sent a given number of bytes through it (over all connections, so that a cancel
// request meets the same fault), it stops forwarding while keeping the connections open,
// closes them, or resets them. Shows that no run waits for ever on a server.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace testsupport {

class FaultRelay {
 public:
  enum class Fault { None, Stall, Drop, Reset };

  // Listens on a free port of 127.0.0.1 and forwards to `serverPort` there; `fault` strikes
  // after `afterBytes` bytes from the server.
  FaultRelay(int serverPort, Fault fault = Fault::None, long long afterBytes = 0)
      : serverPort_(serverPort), fault_(fault), limit_(afterBytes) {
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("the relay cannot listen");
    port_ = ntohs(address.sin_port);
    pump_ = std::thread([this] { run(); });
  }
  ~FaultRelay() {
    stop_ = true;
    pump_.join();
    for (const int fd : open_) close(fd);
    close(listener_);
  }
  FaultRelay(const FaultRelay&) = delete;
  FaultRelay& operator=(const FaultRelay&) = delete;

  int port() const { return port_; }
  long long bytesFromServer() const { return fromServer_; }

 private:
  static sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
  }
  bool struck() const { return fault_ != Fault::None && fromServer_ >= limit_; }

  // Moves what `from` has to `to`, never a byte past the limit; false when `from` has closed.
  bool forward(int from, int to, bool fromServer) {
    char buffer[16384];
    ssize_t got = recv(from, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    if (fromServer && fault_ != Fault::None) got = std::min<ssize_t>(got, limit_ - fromServer_);
    if (fromServer) fromServer_ += got;
    return send(to, buffer, static_cast<std::size_t>(got), MSG_NOSIGNAL) == got;
  }

  void run() {
    while (!stop_) {
      // open_ holds client and server socket of each connection in turn.
      std::vector<pollfd> watched{{listener_, POLLIN, 0}};
      if (!struck())
        for (const int fd : open_) watched.push_back({fd, POLLIN, 0});
      if (poll(watched.data(), watched.size(), 20) <= 0) continue;
      for (std::size_t i = 1; i < watched.size(); ++i) {
        if (!watched[i].revents) continue;
        const std::size_t at = i - 1, peer = at ^ 1;
        if (!forward(open_[at], open_[peer], at % 2 == 1)) drop(at & ~std::size_t{1}, false);
        break;  // open_ may have changed
      }
      if (watched[0].revents & POLLIN) accept();
      if (struck() && fault_ != Fault::Stall)
        while (!open_.empty()) drop(0, fault_ == Fault::Reset);
    }
  }

  void accept() {
    const int client = ::accept(listener_, nullptr, nullptr);
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(serverPort_);
    if (connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      close(client);
      close(server);
      return;
    }
    open_.insert(open_.end(), {client, server});
  }

  // Closes the connection whose client socket is open_[at], resetting it when `reset`.
  void drop(std::size_t at, bool reset) {
    if (reset) {
      const linger abrupt{1, 0};
      setsockopt(open_[at], SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
    }
    close(open_[at]);
    close(open_[at + 1]);
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(at),
                open_.begin() + static_cast<std::ptrdiff_t>(at + 2));
  }

  int serverPort_;
  Fault fault_;
  long long limit_;
  int listener_ = socket(AF_INET, SOCK_STREAM, 0);
  int port_ = 0;
  std::vector<int> open_;  // only the pump touches it while it runs
  std::atomic<bool> stop_{false};
  std::atomic<long long> fromServer_{0};
  std::thread pump_;
};

}  // namespace testsupport
