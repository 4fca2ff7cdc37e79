# The agent profile dialog of the desktop host, as a library that the host and
# its test link. Included from the top level; the host links
# qlmib_browser_profiles.
include_guard(GLOBAL)
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(qlmib_browser_profiles STATIC ${CMAKE_CURRENT_LIST_DIR}/AgentProfileDialog.cpp)
set_target_properties(qlmib_browser_profiles PROPERTIES AUTOMOC ON)
target_include_directories(qlmib_browser_profiles PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qlmib_browser_profiles PUBLIC Qt6::Widgets qlmib::snmp PRIVATE qlmib_warnings)

if(QLMIB_BUILD_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(browser_profiles_tests ${PROJECT_SOURCE_DIR}/tests/browser/AgentProfileDialog_test.cpp)
  set_target_properties(browser_profiles_tests PROPERTIES AUTOMOC ON)
  target_link_libraries(browser_profiles_tests PRIVATE qlmib_browser_profiles Qt6::Test qlmib_test_support)
  add_test(NAME browser_profiles_tests COMMAND browser_profiles_tests)
  set_tests_properties(browser_profiles_tests PROPERTIES LABELS live ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
