// The PostgreSQL client library is loaded only when a server is used. libpq brings some twenty
// libraries of its own (Kerberos, LDAP, TLS), which every run on the files would otherwise load
// at start for nothing. Each libpq function the program calls is defined here with libpq's own
// declaration and forwards to the library opened on first use; the compiler checks every
// signature against libpq-fe.h.
#include <dlfcn.h>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>

namespace {

void* library() {
  static void* const handle = [] {
    void* opened = ::dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!opened) {
      // The package depends on libpq5, so this is a broken installation: say so and stop rather
      // than fail in some later call with no reason.
      std::fprintf(stderr, "statind: libreria PostgreSQL non caricata: %s\n", ::dlerror());
      std::abort();
    }
    return opened;
  }();
  return handle;
}

template <typename Function>
Function resolve(const char* name) {
  void* symbol = ::dlsym(library(), name);
  if (!symbol) {
    std::fprintf(stderr, "statind: %s non trovato nella libreria PostgreSQL\n", name);
    std::abort();
  }
  return reinterpret_cast<Function>(symbol);
}

}  // namespace

// One forwarder a function: `real` is resolved once, on the first call.
#define STATIND_PQ_FORWARD(result, name, parameters, arguments) \
  extern "C" result name parameters {                           \
    static const auto real = resolve<decltype(&::name)>(#name); \
    return real arguments;                                      \
  }

STATIND_PQ_FORWARD(PGconn*, PQconnectdb, (const char* info), (info))
STATIND_PQ_FORWARD(PGconn*, PQconnectdbParams,
                   (const char* const* keywords, const char* const* values, int expand),
                   (keywords, values, expand))
STATIND_PQ_FORWARD(PGconn*, PQconnectStartParams,
                   (const char* const* keywords, const char* const* values, int expand),
                   (keywords, values, expand))
STATIND_PQ_FORWARD(PostgresPollingStatusType, PQconnectPoll, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(ConnStatusType, PQstatus, (const PGconn* conn), (conn))
STATIND_PQ_FORWARD(char*, PQerrorMessage, (const PGconn* conn), (conn))
STATIND_PQ_FORWARD(void, PQfinish, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(int, PQsocket, (const PGconn* conn), (conn))
STATIND_PQ_FORWARD(PGTransactionStatusType, PQtransactionStatus, (const PGconn* conn), (conn))
STATIND_PQ_FORWARD(PGresult*, PQexec, (PGconn * conn, const char* query), (conn, query))
STATIND_PQ_FORWARD(PGresult*, PQexecParams,
                   (PGconn * conn, const char* command, int nParams, const Oid* paramTypes,
                    const char* const* paramValues, const int* paramLengths,
                    const int* paramFormats, int resultFormat),
                   (conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                    resultFormat))
STATIND_PQ_FORWARD(PGresult*, PQprepare,
                   (PGconn * conn, const char* stmtName, const char* query, int nParams,
                    const Oid* paramTypes),
                   (conn, stmtName, query, nParams, paramTypes))
STATIND_PQ_FORWARD(PGresult*, PQexecPrepared,
                   (PGconn * conn, const char* stmtName, int nParams,
                    const char* const* paramValues, const int* paramLengths,
                    const int* paramFormats, int resultFormat),
                   (conn, stmtName, nParams, paramValues, paramLengths, paramFormats, resultFormat))
STATIND_PQ_FORWARD(int, PQsendQuery, (PGconn * conn, const char* query), (conn, query))
STATIND_PQ_FORWARD(int, PQsendQueryParams,
                   (PGconn * conn, const char* command, int nParams, const Oid* paramTypes,
                    const char* const* paramValues, const int* paramLengths,
                    const int* paramFormats, int resultFormat),
                   (conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                    resultFormat))
STATIND_PQ_FORWARD(int, PQsendPrepare,
                   (PGconn * conn, const char* stmtName, const char* query, int nParams,
                    const Oid* paramTypes),
                   (conn, stmtName, query, nParams, paramTypes))
STATIND_PQ_FORWARD(int, PQsendQueryPrepared,
                   (PGconn * conn, const char* stmtName, int nParams,
                    const char* const* paramValues, const int* paramLengths,
                    const int* paramFormats, int resultFormat),
                   (conn, stmtName, nParams, paramValues, paramLengths, paramFormats, resultFormat))
STATIND_PQ_FORWARD(int, PQsetnonblocking, (PGconn * conn, int arg), (conn, arg))
STATIND_PQ_FORWARD(int, PQflush, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(int, PQconsumeInput, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(int, PQisBusy, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(PGresult*, PQgetResult, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(PGcancel*, PQgetCancel, (PGconn * conn), (conn))
STATIND_PQ_FORWARD(int, PQcancel, (PGcancel * cancel, char* errbuf, int errbufsize),
                   (cancel, errbuf, errbufsize))
STATIND_PQ_FORWARD(void, PQfreeCancel, (PGcancel * cancel), (cancel))
STATIND_PQ_FORWARD(ExecStatusType, PQresultStatus, (const PGresult* res), (res))
STATIND_PQ_FORWARD(char*, PQresultErrorMessage, (const PGresult* res), (res))
STATIND_PQ_FORWARD(char*, PQresultErrorField, (const PGresult* res, int fieldcode),
                   (res, fieldcode))
STATIND_PQ_FORWARD(void, PQclear, (PGresult * res), (res))
STATIND_PQ_FORWARD(int, PQntuples, (const PGresult* res), (res))
STATIND_PQ_FORWARD(int, PQnfields, (const PGresult* res), (res))
STATIND_PQ_FORWARD(char*, PQfname, (const PGresult* res, int field_num), (res, field_num))
STATIND_PQ_FORWARD(Oid, PQftype, (const PGresult* res, int field_num), (res, field_num))
STATIND_PQ_FORWARD(int, PQgetisnull, (const PGresult* res, int tup_num, int field_num),
                   (res, tup_num, field_num))
STATIND_PQ_FORWARD(char*, PQgetvalue, (const PGresult* res, int tup_num, int field_num),
                   (res, tup_num, field_num))
STATIND_PQ_FORWARD(int, PQgetlength, (const PGresult* res, int tup_num, int field_num),
                   (res, tup_num, field_num))
