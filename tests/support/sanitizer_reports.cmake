# The reports that sanitized programs wrote while the end-to-end tests drove them: the tests
# discard the programs' stderr, so each program's stderr is kept as stderr.<pid> and ASan's own
# reports as report.<pid> (see tests/CMakeLists.txt). Run by CTest as
# `cmake -DREPORTS=dir -DACTION=clear|check -P this-file`: "clear" before the first such test,
# "check" after the last one, failing with each report printed, e.g. a heap-use-after-free in
# frontlite while an end-to-end test clicked 按钮1. Other stderr lines, such as Qt's
# "QStandardPaths: XDG_RUNTIME_DIR not set", are no reports.
if(ACTION STREQUAL "clear")
  file(REMOVE_RECURSE "${REPORTS}")
  file(MAKE_DIRECTORY "${REPORTS}")
elseif(ACTION STREQUAL "check")
  file(GLOB files "${REPORTS}/*")
  set(count 0)
  foreach(file IN LISTS files)
    file(READ "${file}" content)
    if(content MATCHES "runtime error:|(ERROR|SUMMARY): [A-Za-z]*Sanitizer")
      message("==== ${file}\n${content}")
      math(EXPR count "${count} + 1")
    endif()
  endforeach()
  if(count GREATER 0)
    message(FATAL_ERROR "${count} sanitizer report(s) from the programs under test")
  endif()
else()
  message(FATAL_ERROR "ACTION must be clear or check, not '${ACTION}'")
endif()
