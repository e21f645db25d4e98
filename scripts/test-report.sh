# Sourced: testReport FOLDER NAME FAILURE writes FOLDER/NAME.xml, a
# GoogleTest-style report of one check, for scripts/summarize-results.sh;
# an empty FAILURE is a pass.
testReport() {
  local failures=0 failure=""
  if [ -n "$3" ]; then
    failures=1
    failure="<failure message=\"$(printf '%s' "$3" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/"/\&quot;/g')\"/>"
  fi
  mkdir -p "$1"
  cat >"$1/$2.xml" <<REPORT
<?xml version="1.0" encoding="UTF-8"?>
<testsuites tests="1" failures="$failures" disabled="0" errors="0" name="AllTests">
  <testsuite name="$(basename "$1")" tests="1" failures="$failures" disabled="0" errors="0">
    <testcase name="$2" status="run">$failure</testcase>
  </testsuite>
</testsuites>
REPORT
}
