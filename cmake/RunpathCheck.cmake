# Fails when the binary BINARY names an empty entry in its RUNPATH or RPATH: the loader reads
# one as the current folder, so a program started there would load a library planted in it.
# Usage: cmake -DBINARY=<file> -P RunpathCheck.cmake
file(READ_ELF "${BINARY}" RUNPATH runpath RPATH rpath)
foreach(path IN ITEMS "${runpath}" "${rpath}")
  # READ_ELF gives the entries as a list: ';' where the file has ':'.
  if(path MATCHES "(^[:;]|[:;][:;]|[:;]$)")
    message(FATAL_ERROR "${BINARY}: Suchpfad \"${path}\" hat einen leeren Eintrag")
  endif()
endforeach()
