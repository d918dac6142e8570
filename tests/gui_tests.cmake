# Tests of the layers that stand on Qt.
kx_layer_tests(data_tests ${CMAKE_CURRENT_SOURCE_DIR}/data kx_data)
kx_layer_tests(app_tests ${CMAKE_CURRENT_SOURCE_DIR}/app kx_app)
kx_layer_tests(tools_tests ${CMAKE_CURRENT_SOURCE_DIR}/tools kx_data kx_admin)
