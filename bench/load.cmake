# kx_load, the desk of bench/load: built with the benchmarks and with the
# tests (its smoke test runs it), once.
if(TARGET kx_desk AND TARGET kx_admin AND NOT TARGET kx_load)
  add_executable(kx_load ${CMAKE_CURRENT_LIST_DIR}/load_main.cpp ${CMAKE_CURRENT_LIST_DIR}/load_desk.cpp)
  target_link_libraries(kx_load PRIVATE kx_desk kx_admin)
endif()
