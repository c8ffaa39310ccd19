# Win32 layer, the program and the tests that drive real windows under Wine.
file(GLOB TX9_WIN_SOURCES CONFIGURE_DEPENDS
  core/win/*.cpp engine/win/*.cpp ui/score/win/*.cpp app/win/*.cpp checkout/win/*.cpp settings/win/*.cpp records/win/*.cpp)
list(REMOVE_ITEM TX9_WIN_SOURCES
  ${CMAKE_SOURCE_DIR}/app/win/winmain.cpp
  ${CMAKE_SOURCE_DIR}/records/win/file_util_win.cpp)
set(TX9_WIN_LIBS comctl32 comdlg32 gdi32 user32 ole32 oleaut32 shell32 uuid imm32 kernel32)

add_library(tx9_win STATIC ${TX9_WIN_SOURCES})
target_link_libraries(tx9_win PUBLIC tx9_core ${TX9_WIN_LIBS})

set(TX9_RC ${CMAKE_SOURCE_DIR}/res/tx9.rc)
set_source_files_properties(${TX9_RC} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/routes.txt;${CMAKE_SOURCE_DIR}/res/tx9.manifest;${CMAKE_SOURCE_DIR}/res/tx9.ico")
file(GLOB TX9_RC_PARTS CONFIGURE_DEPENDS res/*.rc res/*.inc res/*.h res/en/*.rc res/ja/*.rc)
set_property(SOURCE ${TX9_RC} APPEND PROPERTY OBJECT_DEPENDS ${TX9_RC_PARTS})
add_library(tx9_res OBJECT ${TX9_RC})
target_include_directories(tx9_res PRIVATE ${CMAKE_SOURCE_DIR}/res)

add_executable(tx9 WIN32 app/win/winmain.cpp $<TARGET_OBJECTS:tx9_res>)
target_link_libraries(tx9 PRIVATE tx9_win)

file(GLOB TX9_WIN_TEST_SUPPORT CONFIGURE_DEPENDS tests/win/support/*.cpp)
add_library(tx9_win_test_support STATIC ${TX9_WIN_TEST_SUPPORT} tests/support/fake_system.cpp)
target_link_libraries(tx9_win_test_support PUBLIC tx9_win gtest gmock)
target_include_directories(tx9_win_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(tx9_win_test_support PUBLIC TX9_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

file(GLOB TX9_WIN_TESTS CONFIGURE_DEPENDS tests/win/test_*.cpp)
foreach(src ${TX9_WIN_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(win_${name} ${src} $<TARGET_OBJECTS:tx9_res>)
  target_link_libraries(win_${name} PRIVATE tx9_win_test_support gtest_main)
  add_test(NAME win32.${name} COMMAND win_${name} --gtest_brief=1)
  set_tests_properties(win32.${name} PROPERTIES LABELS win32 TIMEOUT 600)
endforeach()

# The shell and the score sheet again under a Japanese locale: the Japanese
# resource set is picked and its menus, titles, key names, headings and
# dialogs must work the same.
execute_process(COMMAND locale -a OUTPUT_VARIABLE TX9_LOCALES ERROR_QUIET)
string(TOLOWER "${TX9_LOCALES}" TX9_LOCALES)
foreach(name test_main_window test_accelerators test_startup test_score_sheet test_score_render
             test_checkout_dialog test_schedule test_panels test_option_sheet test_win_system)
  if(TARGET win_${name} AND TX9_LOCALES MATCHES "ja_jp\\.utf-?8")
    add_test(NAME win32.${name}.ja COMMAND win_${name} --gtest_brief=1)
    set_tests_properties(win32.${name}.ja PROPERTIES LABELS win32 TIMEOUT 600
      ENVIRONMENT "LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8;TX9_EXPECT_UI_LANGUAGE=ja")
  endif()
endforeach()

# End-to-end: the real program in its own process, typed at with real key events.
file(GLOB TX9_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.sh)
foreach(script ${TX9_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND bash ${script} $<TARGET_FILE:tx9>)
  set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 600 RUN_SERIAL ON)
endforeach()

# Timing of the real windows under Wine: a program that prints figures, not a test.
# The memory and handle figures of a long evening are a program of their own.
file(GLOB TX9_WIN_BENCH_SOURCES CONFIGURE_DEPENDS bench/win/*.cpp)
list(REMOVE_ITEM TX9_WIN_BENCH_SOURCES ${CMAKE_SOURCE_DIR}/bench/win/bench_memory_win.cpp)
if(TX9_WIN_BENCH_SOURCES)
  add_executable(tx9_bench_win ${TX9_WIN_BENCH_SOURCES} $<TARGET_OBJECTS:tx9_res>)
  target_link_libraries(tx9_bench_win PRIVATE tx9_win)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/win/bench_memory_win.cpp)
  add_executable(tx9_bench_memory_win bench/win/bench_memory_win.cpp $<TARGET_OBJECTS:tx9_res>)
  target_link_libraries(tx9_bench_memory_win PRIVATE tx9_win psapi)
endif()
