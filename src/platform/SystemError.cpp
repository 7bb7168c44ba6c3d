#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {

std::string fileErrorText(int error) {
  switch (error) {
    case ENOENT:
      return "non esiste";
    case ENOTDIR:
      return "nel percorso c'è un file al posto di una cartella";
    case EACCES:
    case EPERM:
      return "accesso negato";
    case EROFS:
      return "il disco è in sola lettura";
    case ENOSPC:
      return "disco pieno";
    case EISDIR:
      return "è una cartella";
    case ELOOP:
      return "collegamenti simbolici in ciclo";
    case ENAMETOOLONG:
      return "nome troppo lungo";
    case EIO:
      return "errore di lettura o scrittura del disco";
    default:
      return std::strerror(error);
  }
}

}  // namespace platform
