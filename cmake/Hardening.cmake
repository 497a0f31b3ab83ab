# Relocations resolved at start-up, then made read-only: the hardening Debian expects of the
# programs it ships.
add_link_options(LINKER:-z,relro LINKER:-z,now)
