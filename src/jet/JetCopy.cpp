#include "jet/JetCopy.h"

#include <algorithm>
#include <chrono>

#include "jet/CopyTarget.h"
#include "jet/JetError.h"
#include "jet/JetFile.h"
#include "platform/Store.h"

namespace jet {

namespace {

using Kind = CopyEvent::Kind;

constexpr long long kRowsPerAliveCheck = 1024;

// Sends events on, so that the ones that end a step or the copy are kept in the result too.
class Reporter {
 public:
  Reporter(const CopyEvents& events, CopyResult& result) : events_(events), result_(result) {}
  void send(CopyEvent event) {
    result_.note(event);
    if (events_) events_(event);
  }
  void alive() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastAlive_ < std::chrono::seconds(1)) return;
    lastAlive_ = now;
    send(CopyEvent::of(Kind::Alive));
  }

 private:
  const CopyEvents& events_;
  CopyResult& result_;
  std::chrono::steady_clock::time_point lastAlive_ = std::chrono::steady_clock::now();
};

void copyTable(JetFile& file, const std::string& name, const ProgramSchema& schema,
               CopyTarget& target, Reporter& report, long long rowsPerEvent) {
  auto table = file.open(name);
  const long long declared = table->declaredRows();
  report.send(CopyEvent::of(Kind::TableStart, name, 0, declared));
  const ProgramSchema::Table* own = schema.find(name);
  target.createTable(name, table->columns(), own);
  std::vector<JetField> row(table->columns().size());
  long long rows = 0;
  while (table->next()) {
    for (std::size_t i = 0; i < row.size(); ++i) table->read(i, row[i]);
    target.insert(row);
    if (++rows % rowsPerEvent == 0) report.send(CopyEvent::of(Kind::Rows, name, rows, declared));
    // Rows of long values can be slow to come: the waiting side must still hear from the copy.
    if (rows % kRowsPerAliveCheck == 0) report.alive();
  }
  if (rows != declared)
    throw JetError(JetFailure::Damaged, file.path(), name,
                   "lette " + std::to_string(rows) + " righe delle " + std::to_string(declared) +
                       " registrate nella tabella");
  if (own) {
    report.send(CopyEvent::of(Kind::Indexing, name, rows, declared));
    target.createIndexes(own);
  }
  CopyEvent done = CopyEvent::of(Kind::TableDone, name, rows, declared);
  done.truncated = table->truncatedTexts();
  done.invalid = table->invalidValues();
  report.send(done);
}

}  // namespace

CopyResult copyJetFile(const CopyParams& params) {
  CopyResult result;
  Reporter report(params.events, result);
  JetFile file(params.from);
  report.send(CopyEvent::of(Kind::Opened, "", file.version()));
  ProgramSchema schema;
  CopyTarget target(params.to, [&report] { report.alive(); });
  for (const auto& name : file.tables())
    copyTable(file, name, schema, target, report, std::max(1LL, params.rowsPerEvent));
  if (params.stamp) {
    MirrorStamp stamp = *params.stamp;
    stamp.version = file.version();
    target.markMirror(stamp);
  }
  target.commit();
  return result;
}

}  // namespace jet
