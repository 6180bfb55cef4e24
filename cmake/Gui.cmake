# Every .cpp of app/, ui/, phone/ and pab/ belongs to the program's library, except the program's entry point.
set(TD_GUI_SOURCES)
foreach(dir app ui phone pab)
  file(GLOB dir_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  list(APPEND TD_GUI_SOURCES ${dir_sources})
endforeach()
list(REMOVE_ITEM TD_GUI_SOURCES "${CMAKE_SOURCE_DIR}/app/main.cpp")
file(GLOB TD_GUI_RESOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/res/*.qrc")

add_library(td_gui STATIC ${TD_GUI_SOURCES} ${TD_GUI_RESOURCES})
target_include_directories(td_gui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(td_gui PUBLIC td_model td_res td_link td_mapi Qt6::Widgets)

add_executable(telephone-directory ${CMAKE_SOURCE_DIR}/app/main.cpp)
target_link_libraries(telephone-directory PRIVATE td_gui)
