# The console companion under Wine, as a script starts it: bad arguments, and a short run
# with its log and JSON. Called by CTest with CLI (the executable), EMULATOR and WORK (a
# folder of its own).

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(companion)
  execute_process(COMMAND ${EMULATOR} ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(code "${code}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

# Fails the test with `message` unless the condition in the remaining arguments holds.
function(expect message)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${message}\nexit code: ${code}\nstdout: ${out}\nstderr: ${err}")
  endif()
endfunction()

# Each refused with 2 and a message naming the option, before anything starts.
foreach(bad "--memory;8" "--method;fast" "--threads;0" "--priority;idle" "--time-limit;90"
            "--cycles;x" "--errors-limit" "--verbose")
  companion(--log refused.log --memory 16 --cycles 1 ${bad})
  list(GET bad 0 option)
  string(FIND "${err}" "${option}" named)
  expect("${bad}: not refused with 2" code EQUAL 2)
  expect("${bad}: the message does not name ${option}" NOT named EQUAL -1)
  expect("${bad}: the run started" NOT EXISTS ${WORK}/refused.log)
endforeach()

companion(--memory 16 --cycles 1 --json missing/result.json)
expect("a JSON file that cannot be created is not refused with 4" code EQUAL 4)

# A short run: no error, the panel's log, and the JSON with its figures.
companion(--memory 16 --cycles 2 --threads 1 --log run.log --json -)
expect("the short run did not pass" code EQUAL 0)
# CMake reads text without its carriage returns: they are counted among the bytes.
file(READ ${WORK}/run.log bytes HEX)
string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${bytes}")
list(FILTER bytes INCLUDE REGEX "^0[ad]$")
list(JOIN bytes " " bytes)
expect("the log's lines do not end in CR LF" bytes STREQUAL "0d 0a 0d 0a 0d 0a")
file(READ ${WORK}/run.log log)
set(clock "[0-9][0-9]:[0-9][0-9]:[0-9][0-9]")
set(logged "^Started ${clock}\nmemory: 16 of [0-9]+ Mb, method: 0, priority: normal, work threads: 1, errstop: 0, hrsstop: 0\nFinished ${clock} [(]reason: cycles limit was exceeded[)]\n$")
expect("the log is not in the panel's format: ${log}" log MATCHES "${logged}")
string(JSON cycles GET "${out}" cycles)
string(JSON errors GET "${out}" errorsFound)
string(JSON started GET "${out}" workersStarted)
string(JSON reason GET "${out}" stopReason)
string(JSON mask GET "${out}" failMask)
string(JSON records LENGTH "${out}" errors)
expect("fewer cycles than asked for" cycles GREATER_EQUAL 2)
expect("the JSON is not the run's"
       errors EQUAL 0 AND started EQUAL 1 AND records EQUAL 0 AND reason STREQUAL
       "cycles limit was exceeded" AND mask STREQUAL "0000000000000000")
string(FIND "${err}" "Test stopped (cycles limit was exceeded)" summary)
expect("no summary" NOT summary EQUAL -1)
