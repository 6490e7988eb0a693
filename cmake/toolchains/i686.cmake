set(CMAKE_SYSTEM_PROCESSOR i686)
set(ccomplex_triple i686-linux-gnu)
set(ccomplex_qemu qemu-i386)
# Linked statically: under qemu-i386 7.2 a dynamically linked program's
# fork() child crashes or hangs, which the demo and death tests need.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
