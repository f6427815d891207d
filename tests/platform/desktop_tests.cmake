# The desktop program's window and dialogs, offscreen. Modal dialogs are answered from a
# timer, as a user would answer them.
find_package(Qt6 REQUIRED COMPONENTS Test)
pellum_add_test_suite(pellum_desktop_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/qt_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_dialogs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_window_test.cpp
  LIBS pellum_desktop Qt6::Test)
