# The application's windows (Qt): every .cpp of app/ that is not one of its plain parts, and the
# program `zarvin` built from main.cpp.
file(GLOB ZARVIN_WINDOW_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/app/*.h)
list(REMOVE_ITEM ZARVIN_WINDOW_SOURCES ${ZARVIN_APP_CORE_SOURCES}
     ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
list(FILTER ZARVIN_WINDOW_SOURCES EXCLUDE REGEX "/app/(AppContext|ConfiguratorCore|ProfileSwitch|StartupArguments|EditorHost)\\.h$")
target_sources(zarvin_window PRIVATE ${ZARVIN_WINDOW_SOURCES})

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
  add_executable(zarvin app/main.cpp)
  # zarvin_cli: the stand-in keyboard's memory file, shared with zarvinctl --simulate.
  target_link_libraries(zarvin PRIVATE zarvin_window zarvin_cli zarvin_warnings)
  target_compile_definitions(zarvin PRIVATE ZARVIN_VERSION="${PROJECT_VERSION}")
endif()
