#include "jet/JetFile.h"

#include "jet/JetError.h"
#include "jet/MdbAccess.h"

namespace jet {

struct JetFile::Impl {
  MdbHandle* mdb = nullptr;
  ~Impl() {
    if (mdb) mdb_close(mdb);
  }
};

JetFile::JetFile(const std::string& path) : path_(path), impl_(std::make_unique<Impl>()) {
  impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
  if (!impl_->mdb) throw JetError(JetFailure::Unreadable, path, "", "non è un file Jet leggibile");
  MdbHandle* mdb = impl_->mdb;
  switch (mdb->f->jet_version) {
    case MDB_VER_JET3:
      version_ = 3;
      break;
    case MDB_VER_JET4:
      version_ = 4;
      break;
    default:
      throw JetError(JetFailure::Unreadable, path, "",
                     "formato Access 2007 o successivo (ACE), non Jet 3 o Jet 4");
  }
  mdb_set_bind_size(mdb, kBindSize);
  mdb_set_boolean_fmt_numbers(mdb);
  // The catalogue always lists its own table: an empty one was lost, not a file without tables.
  if (!mdb_read_catalog(mdb, MDB_TABLE) || !mdb->catalog || mdb->catalog->len == 0)
    throw JetError(JetFailure::Damaged, path, "", "catalogo delle tabelle illeggibile");
  for (unsigned int i = 0; i < mdb->catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry && mdb_is_user_table(entry)) tables_.emplace_back(entry->object_name);
  }
}

JetFile::~JetFile() = default;

std::unique_ptr<JetTable> JetFile::open(const std::string& table) {
  MdbHandle* mdb = impl_->mdb;
  for (unsigned int i = 0; i < mdb->catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry && mdb_is_user_table(entry) && table == entry->object_name)
      return openTable(mdb, entry, path_);
  }
  throw JetError(JetFailure::Damaged, path_, table, "tabella assente dal catalogo");
}

}  // namespace jet
