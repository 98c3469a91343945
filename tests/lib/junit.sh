# JUnit-style reports for the shell test suites, read by scripts/test.
# Source it, set junit_class, call junit_record per case, then junit_write.
junit_class=Shell
junit_cases=()

junit_record() {  # name, status (0 passed), details
  local name=$1 status=$2 details=${3:-}
  if [ "$status" -eq 0 ]; then
    junit_cases+=("<testcase classname=\"$junit_class\" name=\"$name\"/>")
    echo "[       OK ] $junit_class.$name"
  else
    details=$(printf '%s' "$details" | tail -c 2000 | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g')
    junit_cases+=("<testcase classname=\"$junit_class\" name=\"$name\"><failure message=\"failed\">$details</failure></testcase>")
    echo "[  FAILED  ] $junit_class.$name"
    echo "$details"
  fi
}

junit_write() {  # report path
  {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<testsuites><testsuite name=\"$junit_class\">"
    printf '%s\n' "${junit_cases[@]}"
    echo "</testsuite></testsuites>"
  } >"$1"
}
