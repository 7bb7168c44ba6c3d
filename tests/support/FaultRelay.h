// A local TCP relay between the program and a test server that can turn bad on purpose: once
// the server has sent a given number of bytes through it (over all connections, so that a
// cancel request meets the same fault), it stops forwarding while keeping every connection open,
// closes them, or resets them. Used to show that no run waits for ever on a server.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class FaultRelay {
 public:
  enum class Fault { None, Stall, Drop, Reset };

  // Listens on a free port of 127.0.0.1 and forwards to `serverPort` there.
  explicit FaultRelay(int serverPort) : serverPort_(serverPort) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("the relay cannot listen");
    port_ = ntohs(address.sin_port);
    pump_ = std::thread([this] { run(); });
  }
  ~FaultRelay() {
    stop_ = true;
    pump_.join();
    for (const Pair& pair : pairs_)
      if (!pair.dead) closePair(pair);
    close(listener_);
  }
  FaultRelay(const FaultRelay&) = delete;
  FaultRelay& operator=(const FaultRelay&) = delete;

  int port() const { return port_; }
  // From now on, `fault` strikes once the server has sent `afterBytes` bytes in all.
  void arm(Fault fault, long long afterBytes) {
    limit_ = afterBytes;
    fault_ = fault;
  }
  long long bytesFromServer() const { return fromServer_; }

 private:
  struct Pair {
    int client;
    int server;
    bool dead = false;
  };

  static sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
  }
  static void closePair(const Pair& pair) {
    close(pair.client);
    close(pair.server);
  }
  bool struck() const { return fault_ != Fault::None && fromServer_ >= limit_; }

  void strike(Pair& pair) {
    if (fault_ == Fault::Stall || pair.dead) return;
    if (fault_ == Fault::Reset) {
      const linger abrupt{1, 0};
      setsockopt(pair.client, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
    }
    closePair(pair);
    pair.dead = true;
  }

  void accept() {
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(serverPort_);
    if (connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      close(client);
      close(server);
      return;
    }
    pairs_.push_back({client, server});
  }

  // Moves what `from` has to `to`; false when `from` has closed.
  bool forward(int from, int to, bool fromServer) {
    char buffer[16384];
    ssize_t got = recv(from, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    if (fromServer) {
      // Not a byte past the limit: the fault strikes in the middle of an answer.
      if (fault_ != Fault::None && fromServer_ + got > limit_)
        got = std::max<ssize_t>(0, limit_ - fromServer_);
      fromServer_ += got;
    }
    return send(to, buffer, static_cast<std::size_t>(got), MSG_NOSIGNAL) == got;
  }

  void run() {
    while (!stop_) {
      std::vector<pollfd> watched{{listener_, POLLIN, 0}};
      const bool stalled = struck() && fault_ == Fault::Stall;
      for (const Pair& pair : pairs_)
        if (!pair.dead && !stalled) {
          watched.push_back({pair.client, POLLIN, 0});
          watched.push_back({pair.server, POLLIN, 0});
        }
      if (poll(watched.data(), watched.size(), 20) <= 0) continue;
      if (watched[0].revents & POLLIN) accept();
      std::size_t at = 1;
      for (Pair& pair : pairs_) {
        if (pair.dead || stalled || at >= watched.size()) continue;
        const bool fromClient = watched[at++].revents != 0;
        const bool fromServer = watched[at++].revents != 0;
        if ((fromClient && !forward(pair.client, pair.server, false)) ||
            (fromServer && !forward(pair.server, pair.client, true))) {
          closePair(pair);
          pair.dead = true;
        }
      }
      if (struck())
        for (Pair& pair : pairs_) strike(pair);
    }
  }

  int serverPort_;
  int listener_ = -1;
  int port_ = 0;
  std::vector<Pair> pairs_;  // only the pump thread touches them while it runs
  std::atomic<bool> stop_{false};
  std::atomic<Fault> fault_{Fault::None};
  std::atomic<long long> limit_{0};
  std::atomic<long long> fromServer_{0};
  std::thread pump_;
};

}  // namespace testsupport
