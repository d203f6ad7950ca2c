# Link options. Every binary records only the libraries it uses itself.
add_link_options(-Wl,--as-needed)

# libtarvex.so: every symbol resolved at link time (not under the fuzzer, whose sanitizer
# runtime only the fuzz executables carry), and calls between its own functions bound inside
# it, so that loading it looks up only the symbols it takes from other libraries and the data
# it shares with the host. Measured: -Wl,-O1, -z pack-relative-relocs and
# -fno-semantic-interposition save nothing measurable here.
set(TARVEX_SHARED_LIBRARY_LINK_OPTIONS
  $<$<NOT:$<BOOL:${TARVEX_BUILD_FUZZ}>>:-Wl,--no-undefined> -Wl,-Bsymbolic-functions)
