# Where the two Debian packages put things, relative to the prefix (/usr).
# Each package keeps its private libraries in a folder named after itself,
# and its binaries find them through a RUNPATH relative to their own place,
# so a root unpacked anywhere (dpkg -x) runs as the installed one does.
set(EVENTOS_CLIENT_PACKAGE eventos-cliente)
set(EVENTOS_SERVER_PACKAGE eventos-servidor)
set(EVENTOS_CLIENT_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/${EVENTOS_CLIENT_PACKAGE})
set(EVENTOS_CLIENT_MODULEDIR ${EVENTOS_CLIENT_LIBDIR}/modulos)
set(EVENTOS_SERVER_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/${EVENTOS_SERVER_PACKAGE})
# The site's settings live in /etc/eventos, two folders above /usr/bin.
set(EVENTOS_CONFIG_DIR /etc/eventos)
set(EVENTOS_CONFIG_FROM_BIN ../..${EVENTOS_CONFIG_DIR})
