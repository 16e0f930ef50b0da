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

function(expect condition message)
  if(NOT ${condition})
    message(FATAL_ERROR "${message}\nexit code: ${code}\nstdout: ${out}\nstderr: ${err}")
  endif()
endfunction()

# Each refused with 2 and a message naming the option, before anything starts.
foreach(bad "--memory;8" "--method;fast" "--threads;0" "--priority;idle" "--time-limit;90"
            "--cycles;x" "--errors-limit" "--verbose")
  companion(--log refused.log --memory 16 --cycles 1 ${bad})
  list(GET bad 0 option)
  string(FIND "${err}" "${option}" named)
  expect("code EQUAL 2" "${bad}: not refused with 2")
  expect("NOT named EQUAL -1" "${bad}: the message does not name ${option}")
  expect("NOT EXISTS ${WORK}/refused.log" "${bad}: the run started")
endforeach()

companion(--memory 16 --cycles 1 --json missing/result.json)
expect("code EQUAL 4" "a JSON file that cannot be created is not refused with 4")

# A short run: no error, the panel's log, and the JSON with its figures.
companion(--memory 16 --cycles 2 --threads 1 --log run.log --json -)
expect("code EQUAL 0" "the short run did not pass")
file(READ ${WORK}/run.log log)
set(clock "[0-9][0-9]:[0-9][0-9]:[0-9][0-9]")
expect("log MATCHES \"^Started ${clock}\r\nmemory: 16 of [0-9]+ Mb, method: 0, priority: normal, work threads: 1, errstop: 0, hrsstop: 0\r\nFinished ${clock} \\\\(reason: cycles limit was exceeded\\\\)\r\n$\""
       "the log is not in the panel's format: ${log}")
expect("out MATCHES \"^{\\\"version\\\":\\\"[0-9.]+\\\",\\\"memoryMb\\\":16,.*\\\"workersAsked\\\":1,\\\"workersStarted\\\":1,\\\"errorsFound\\\":0,.*\\\"stopReason\\\":\\\"cycles limit was exceeded\\\",\\\"failMask\\\":\\\"0000000000000000\\\",\\\"lostRecords\\\":0,\\\"errors\\\":\\\\[\\\\]}\""
       "the JSON is not the run's")
string(JSON cycles GET "${out}" cycles)
expect("cycles GREATER_EQUAL 2" "fewer cycles than asked for")
string(FIND "${err}" "Test stopped (cycles limit was exceeded)" summary)
expect("NOT summary EQUAL -1" "no summary")
