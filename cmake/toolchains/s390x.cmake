set(CMAKE_SYSTEM_PROCESSOR s390x)
set(ccomplex_triple s390x-linux-gnu)
set(ccomplex_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
