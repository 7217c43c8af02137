# cmake -DROOT=<src> -P check_core_includes.cmake
include(${CMAKE_CURRENT_LIST_DIR}/CoreIncludeCheck.cmake)
kavel_check_core_includes(${ROOT})
