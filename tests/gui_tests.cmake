# Tests of the layers that stand on Qt.
kx_layer_tests(data_tests ${CMAKE_CURRENT_SOURCE_DIR}/data kx_data)
kx_layer_tests(app_tests ${CMAKE_CURRENT_SOURCE_DIR}/app kx_app)
kx_layer_tests(tools_tests ${CMAKE_CURRENT_SOURCE_DIR}/tools kx_data kx_admin)
# The tools tests also run the built kashidashi-admin.
if(TARGET tools_tests AND TARGET kashidashi-admin)
  add_dependencies(tools_tests kashidashi-admin)
  target_compile_definitions(tools_tests PRIVATE KX_ADMIN_TOOL="$<TARGET_FILE:kashidashi-admin>")
endif()
