set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(ccomplex_triple powerpc64le-linux-gnu)
set(ccomplex_qemu qemu-ppc64le)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
