#include "platform/system/file_kind.h"

#include <sys/stat.h>

namespace tarvex {

std::string nonRegularKind(unsigned mode) {
    switch (mode & S_IFMT) {
        case S_IFREG: return "";
        case S_IFDIR: return "ein Ordner";
        case S_IFIFO: return "eine benannte Pipe (FIFO)";
        case S_IFCHR: return "ein zeichenorientiertes Gerät";
        case S_IFBLK: return "ein blockorientiertes Gerät";
        case S_IFSOCK: return "ein Socket";
        default: return "keine Datei";
    }
}

std::string notARegularFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "";
    const std::string kind = nonRegularKind(st.st_mode);
    return kind.empty() ? "" : path + " ist keine gewöhnliche Datei, sondern " + kind;
}

}  // namespace tarvex
