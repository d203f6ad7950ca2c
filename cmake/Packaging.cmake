# The Debian package tarvex_<version>_amd64.deb, built by scripts/package.sh (cpack -G DEB)
# from a tree configured for the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TARVEX-Entwicklung <tarvex@tarvex.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Depends comes from the binaries; libtarvex.so.1, which the hosts link, resolves inside the
# package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_FULL_LIBDIR})
# shlibs and the ldconfig trigger for the public libtarvex.so.1 (CPack adds its own ldconfig
# calls in postinst and postrm as well; packaging/README.md).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)

# No line of the long description may begin with a dot: "invoice (.docx)", never ".docx".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[surveying fee calculator writing into Word invoices
TARVEX computes the fees of five items of the German cadastral-surveying fee
schedule (30.1, 30.2, 30.3, 30.4 and 30.6), writes each fee as a table into
an invoice (.docx), rebuilds the invoice totals and VAT and stores the
amounts in the office program's SQLite database. It comes with the
command-line host tarvex, the desktop host tarvex-host, the plug-in library
libtarvex.so.1 with its C header, pkg-config and CMake files, German manual
pages and a bash completion.

Deutsch: TARVEX berechnet die Gebühren der Katastervermessung nach den
Nummern 30.1, 30.2, 30.3, 30.4 und 30.6 der Gebührenordnung, schreibt jede
Gebühr als Tabelle in eine Rechnung im Word-Format (.docx), berechnet Summen
und Umsatzsteuer neu und speichert die Beträge in der SQLite-Datenbank des
Büroprogramms. Enthalten sind der Kommandozeilen-Host tarvex, der
Desktop-Host tarvex-host, die Plug-in-Bibliothek libtarvex.so.1 mit C-Header,
pkg-config- und CMake-Dateien, deutsche Handbuchseiten und eine
Bash-Vervollständigung.]=])

include(CPack)
