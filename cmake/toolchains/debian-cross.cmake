# A build for another Linux machine with Debian's cross compiler for
# ${ccomplex_triple}, whose programs, tests among them, run under
# ${ccomplex_qemu} with that compiler's libraries. The file for each target
# sets the two names and the processor, then includes this one.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${ccomplex_triple}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ccomplex_qemu} -L /usr/${ccomplex_triple})
# Libraries and headers of the target only; programs of this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ccomplex_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
