# Included by the scripts that write a date into what is shipped: sets
# SOURCE_DATE_EPOCH, unless it is set, to the time of the commit in git at
# SOURCE, or outside git to a fixed day, so that two builds of one commit
# write the same date.
set(fallbackEpoch 1796947200)  # 2026-12-11, for a build outside git
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${SOURCE}" log -1 --format=%ct
                  OUTPUT_VARIABLE commitEpoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE gitStatus ERROR_QUIET)
  if(gitStatus EQUAL 0 AND commitEpoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commitEpoch}")
  else()
    set(ENV{SOURCE_DATE_EPOCH} "${fallbackEpoch}")
  endif()
endif()
