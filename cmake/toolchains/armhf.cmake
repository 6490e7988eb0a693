set(CMAKE_SYSTEM_PROCESSOR arm)
set(ccomplex_triple arm-linux-gnueabihf)
set(ccomplex_qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
