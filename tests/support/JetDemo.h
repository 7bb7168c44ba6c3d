// The demo installation as a suite installation really is: the same products, index records and
// configuration as make-demo writes, with the data, visits and index databases (and on request
// the operator's work database) as Jet 4 files under the suite's names. For the tests and
// benchmarks of the Jet reading; built by the program make-jet-demo.
#pragma once

#include "utilities/DemoInstallation.h"

namespace jetfixture {

struct JetDemoParams {
  utilities::DemoParams demo;
  bool jetWorkDb = false;  // the work database as a Jet file too
};

// Writes the demo installation as DemoInstallation::make does, then replaces each chosen
// database by a Jet 4 file with the same tables and rows (Indici.IndData as DateTime). Throws
// what DemoInstallation::make and copySqliteToJet throw; a database that could not be converted
// stays the SQLite file the demo wrote.
utilities::DemoResult makeJetDemo(const JetDemoParams& params);

}  // namespace jetfixture
