// Where an import writes on an installation the program has opened, and when it must not: the
// suite's own Jet files are read through a copy and are never written by this program.
#pragma once

#include <memory>
#include <string>

#include "indeximport/IndexTarget.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"

namespace indeximport {

// Why an import must not write this installation (Italian; "" when it may): its index file is
// one of the suite's Jet files, or, when a product is to be created, its data file is.
std::string suiteFileRefusal(const startup::AppParams& params, bool creatingProduct);

// The index database the installation opened: the server when it is there, else the file.
std::unique_ptr<IndexTarget> openIndexTarget(startup::Databases& dbs);

}  // namespace indeximport
