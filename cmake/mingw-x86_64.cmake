# Cross build for 64-bit Windows: the same sources as the shipped i686
# programs, for hosts that run no 32-bit program, where only a 64-bit Wine
# can run the tests.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
