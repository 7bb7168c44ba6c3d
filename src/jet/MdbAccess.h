// The libmdb side of the Jet reader, shared by JetFile and JetTable only: the rest of the program
// never sees libmdb's types.
#pragma once

// glib first: included inside the extern "C" of mdbtools.h, its C++ parts would not compile.
#include <glib.h>
#include <mdbtools.h>

#include <memory>
#include <string>

#include "jet/JetTable.h"

namespace jet {

// Bytes of the buffer libmdb converts one text into: a memo of 65,535 characters fits as UTF-8.
inline constexpr std::size_t kBindSize = 256 * 1024;

// Reads the definition and columns of the catalogue entry `entry` of `mdb`, ready at its first
// row. Throws JetError (Damaged) naming `file` and the table when they cannot be read.
std::unique_ptr<JetTable> openTable(MdbHandle* mdb, MdbCatalogEntry* entry,
                                    const std::string& file);

}  // namespace jet
