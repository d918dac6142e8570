# Tests of the layers that stand on Qt.
add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/support)
kx_layer_tests(data_tests ${CMAKE_CURRENT_SOURCE_DIR}/data kx_data)
kx_layer_tests(exchange_tests ${CMAKE_CURRENT_SOURCE_DIR}/exchange kx_exchange)
# The window layers' test programs have their own main (they need a QApplication).
foreach(layer widgets grid reports desk library app)
  kx_layer_tests(${layer}_tests ${CMAKE_CURRENT_SOURCE_DIR}/${layer} kx_test_support
                 kx_gui_test_main)
endforeach()
kx_layer_tests(catalogue_tests ${CMAKE_CURRENT_SOURCE_DIR}/catalogue kx_test_support
               kx_gui_test_main)
# The catalogue tests open the quick registration from the desk (the desk's
# fixture) and run the built kashidashi-admin (lookup, marc-import).
if(TARGET catalogue_tests AND TARGET kashidashi-admin)
  target_sources(catalogue_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/desk/desk_fixture.cpp)
  add_dependencies(catalogue_tests kashidashi-admin)
  target_compile_definitions(catalogue_tests PRIVATE KX_ADMIN_TOOL="$<TARGET_FILE:kashidashi-admin>")
endif()
# The window 蔵書・利用者の管理 is tried with the desk that serves its users.
if(TARGET library_tests)
  target_sources(library_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/desk/desk_fixture.cpp)
endif()
kx_layer_tests(tools_tests ${CMAKE_CURRENT_SOURCE_DIR}/tools kx_data kx_admin)
# The tools tests also run the built kashidashi-admin.
if(TARGET tools_tests AND TARGET kashidashi-admin)
  add_dependencies(tools_tests kashidashi-admin)
  target_compile_definitions(tools_tests PRIVATE KX_ADMIN_TOOL="$<TARGET_FILE:kashidashi-admin>")
endif()
# The tools tests run bench/load once, briefly (load_smoke_test.cpp).
include(${PROJECT_SOURCE_DIR}/bench/load.cmake)
if(TARGET tools_tests AND TARGET kx_load)
  add_dependencies(tools_tests kx_load)
  target_compile_definitions(tools_tests PRIVATE KX_LOAD_PROGRAM="$<TARGET_FILE:kx_load>")
endif()
# The app tests run both built programs (--version).
if(TARGET app_tests AND TARGET kashidashi-admin)
  add_dependencies(app_tests kashidashi kashidashi-admin)
  target_compile_definitions(app_tests PRIVATE KX_DESK_PROGRAM="$<TARGET_FILE:kashidashi>"
                             KX_ADMIN_TOOL="$<TARGET_FILE:kashidashi-admin>")
endif()
# The server-mode tests of the app, the desk and the tools use the engine
# tests' test server.
foreach(target app_tests desk_tests library_tests catalogue_tests tools_tests)
  if(TARGET ${target})
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/engine/pg_test_server.cpp)
  endif()
endforeach()
# The desk suites that hold for both backends run once more with the demo
# school on the test server and the desk in client/server mode
# (desk_fixture.h); the rest are about the folder's own files and locks.
if(TARGET desk_tests)
  gtest_discover_tests(desk_tests DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_PREFIX "server."
    TEST_FILTER "LendingTest.*:ReturnTest.*:ReservationTest.*:ReservationList.*:PeriodListTest.*:LostServerTest.*:-ReturnTest.AnEngineFailure*"
    PROPERTIES ENVIRONMENT "KX_ENGINE_BACKEND=server")
endif()
if(TARGET catalogue_tests)
  gtest_discover_tests(catalogue_tests DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES TEST_PREFIX "server."
    TEST_FILTER "QuickRegistrationTest.*:-QuickRegistrationTest.Screenshot*"
    PROPERTIES ENVIRONMENT "KX_ENGINE_BACKEND=server")
endif()
# The web catalogue's tests: its parsers, index and pages on a small school,
# and its server answering real HTTP (tests/opac).
if(TARGET kx_opac)
  kx_layer_tests(opac_tests ${CMAKE_CURRENT_SOURCE_DIR}/opac kx_opac)
  # The documents test knows kashidashi-opac's options from its usage.
  if(TARGET tools_tests)
    add_dependencies(tools_tests kashidashi-opac)
    target_compile_definitions(tools_tests PRIVATE KX_OPAC_PROGRAM="$<TARGET_FILE:kashidashi-opac>")
  endif()
  # The server-mode test uses the engine tests' test server.
  target_sources(opac_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/engine/pg_test_server.cpp)
endif()
# The catalogue's pages in a real browser (Debian's chromium, headless, with
# chromium-driver and python3-selenium from Debian's python3); its
# screenshots go to the build folder (docs/ keeps copies).
find_program(KX_DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(TARGET kashidashi-opac AND TARGET kashidashi-admin AND KX_DEBIAN_PYTHON)
  add_test(NAME opac.browser
           COMMAND ${KX_DEBIAN_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/opac/browser_test.py
                   --opac $<TARGET_FILE:kashidashi-opac> --admin $<TARGET_FILE:kashidashi-admin>
                   --shots ${CMAKE_CURRENT_BINARY_DIR}/opac-shots)
  set_tests_properties(opac.browser PROPERTIES TIMEOUT 120)
  # The pupils' pages: login, the own page, reserve, cancel, logout, the lock.
  add_test(NAME opac.pupil_browser
           COMMAND ${KX_DEBIAN_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/opac/pupil_browser_test.py
                   --opac $<TARGET_FILE:kashidashi-opac> --admin $<TARGET_FILE:kashidashi-admin>
                   --shots ${CMAKE_CURRENT_BINARY_DIR}/pupil-shots)
  set_tests_properties(opac.pupil_browser PROPERTIES TIMEOUT 120)
  # Two headless browsers at once on a small machine lose their driver's
  # answers now and then: the browser tests take turns.
  set_tests_properties(opac.browser opac.pupil_browser PROPERTIES RESOURCE_LOCK kx_browser)
endif()
