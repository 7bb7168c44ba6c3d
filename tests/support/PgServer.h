// A private PostgreSQL 15 server for the tests: a cluster made by initdb in a temporary folder,
// listening on a free port of 127.0.0.1 only, its socket inside that folder, stopped and removed
// when the object ends. Run as root (as CI does), the server runs as user "nobody", since
// PostgreSQL refuses to run as root. One superuser "statind", trusted without a password.
#pragma once

#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/TempFolder.h"

namespace testsupport {

class PgServer {
 public:
  // True when the server programs are installed; tests skip without them.
  static bool available() {
    return std::filesystem::exists(std::string(STATIND_PG_BIN) + "/initdb") &&
           std::filesystem::exists(std::string(STATIND_PG_BIN) + "/pg_ctl");
  }

  // Makes and starts the cluster. Throws std::runtime_error with the server's log on failure.
  PgServer() : port_(freePort()) {
    const std::string dir = folder_.path().string();
    if (geteuid() == 0) {
      const passwd* nobody = getpwnam("nobody");
      if (!nobody) throw std::runtime_error("no user nobody to run the test server as");
      if (chown(dir.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
        throw std::runtime_error("cannot hand the test server's folder to nobody");
      asUser_ = "runuser -u nobody -- ";
    }
    copyTemplate(dir + "/data");
    run(bin("pg_ctl") + " -D " + dir + "/data -l " + dir + "/server.log -w -t 30 -o \"-p " +
        std::to_string(port_) + " -c listen_addresses=127.0.0.1 -c unix_socket_directories=" + dir +
        " -c fsync=off\" start >/dev/null 2>&1");
    started_ = true;
  }

  ~PgServer() {
    if (started_)
      std::system((asUser_ + bin("pg_ctl") + " -D " + folder_.path().string() +
                   "/data -m immediate -w stop >/dev/null 2>&1")
                      .c_str());
  }
  PgServer(const PgServer&) = delete;
  PgServer& operator=(const PgServer&) = delete;

  // The connection URI of database `name` as the program's configuration names it.
  std::string uri(const std::string& name = "statind") const {
    return "postgresql://statind@127.0.0.1:" + std::to_string(port_) + "/" + name;
  }
  int port() const { return port_; }

  // Runs `sql` on database `name` (the maintenance database "postgres" by default).
  void execute(const std::string& sql, const std::string& name = "postgres") const {
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(uri(name).c_str()), PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(conn.get()));
    std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(conn.get(), sql.c_str()), PQclear);
    const auto status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
      throw std::runtime_error(PQresultErrorMessage(result.get()));
  }
  // A new empty database; returns its URI.
  std::string createDatabase(const std::string& name) const {
    execute("CREATE DATABASE " + name);
    return uri(name);
  }

 private:
  static std::string bin(const std::string& program) {
    return std::string(STATIND_PG_BIN) + "/" + program;
  }

  void run(const std::string& command, bool asServerUser = true) const {
    if (std::system(((asServerUser ? asUser_ : std::string()) + command).c_str()) != 0)
      throw std::runtime_error("test server: failed: " + command + "\n" +
                               TempFolder::read(folder_.file("initdb.log")) +
                               TempFolder::read(folder_.file("server.log")));
  }

  // initdb takes seconds on a busy machine: the cluster is made once per build tree (and kept as
  // a cache), under a lock since test programs run side by side, and copied for each server.
  void copyTemplate(const std::string& data) const {
    // Under the system's temporary folder, which user nobody can reach wherever the build is.
    const std::string templ =
        (std::filesystem::temp_directory_path() /
         ("statind-pg-template-" + std::to_string(std::hash<std::string>{}(STATIND_PG_TEMPLATE))))
            .string();
    const std::string ready = templ + "/ready", made = templ + "/data", lock = templ + ".lock";
    std::filesystem::create_directories(std::filesystem::path(templ).parent_path());
    const std::string dir = folder_.path().string();
    const std::string handOver = asUser_.empty() ? "" : " && chown nobody " + templ;
    run("flock " + lock + " sh -c 'test -e " + ready + " || { rm -rf " + templ + " && mkdir -p " +
            templ + handOver + " && " + asUser_ + bin("initdb") + " -D " + made +
            " -U statind --auth=trust --no-sync --locale=C.UTF-8 -E UTF8 >" + dir +
            "/initdb.log 2>&1 && touch " + ready + "; }'",
        false);
    run("cp -a " + made + " " + data + (asUser_.empty() ? "" : " && chown -R nobody " + data),
        false);
  }

  // A port nobody listens on now: the one the system hands out for port 0.
  static int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("no free port for the test server");
    close(fd);
    return ntohs(address.sin_port);
  }

  TempFolder folder_;
  int port_;
  std::string asUser_;
  bool started_ = false;
};

}  // namespace testsupport
