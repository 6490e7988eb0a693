set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ccomplex_triple aarch64-linux-gnu)
set(ccomplex_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
