// Writing a file whole or not at all, also in folders that other users may write (a shared
// output folder, /tmp). The bytes go to a temporary file beside the target, created afresh
// under a name nobody can foresee and never through a symbolic link, which takes the target's
// name only once everything is on disk: a reader never meets half a file, a failure leaves the
// old one whole, and a link planted in advance cannot turn the write onto another file.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Writes `bytes` to `path`. Returns 0, or the error number (errno) of the step that failed.
// - A new name, or an existing regular file: through a temporary `.NAME.<pid>.<random>.tmp` in
//   the same folder, synced and renamed over `path`. An existing file keeps its permission bits
//   and, where the system allows it, its owner and group. A symbolic link to a regular file is
//   followed (the link stays) when it belongs to this user or to the folder's owner, as the
//   system itself follows links in shared folders; any other link gives EACCES.
// - An existing device, FIFO or terminal (/dev/null, /dev/stdout): written in place, never
//   replaced. An existing folder gives EISDIR.
// Before writing, removes the target's stale temporaries (removeStaleTemporaries). On failure
// no temporary file remains and a replaced target is unchanged. Never throws.
int writeWholeFile(const std::string& path, std::string_view bytes);

// Removes the temporaries of writes of `path` that were cut short (the writing program killed):
// regular files beside it named `.NAME.<pid>.<random>.tmp` (or `.NAME.tmp<pid>-<n>`, the form
// of earlier versions) that belong to this user, whose process no longer runs and that no
// program holds locked (a writer on another machine of a shared folder). Never throws.
void removeStaleTemporaries(const std::string& path);

}  // namespace platform
