# libclsersim.so: a Camera Link serial library whose ports are simulated cameras. Only the Camera
# Link entry points are exported; the embedded model and core stay private to it.
add_library(clsersim SHARED ClSerSim.cpp ClSerSimConfig.cpp ClSerSimConfig.h)
target_link_libraries(clsersim PRIVATE vistrel_camsim_model vistrel_options)
set_target_properties(clsersim PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
                                          LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ClSerSim.map)
target_link_options(clsersim PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined
                                     -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/ClSerSim.map)
