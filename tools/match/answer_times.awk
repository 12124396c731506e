# Prints the milliseconds of each of Ravenquill's answers in an XBoard debug log: XBoard stamps
# every line, and an answer runs from the last line sent to "first" to its move.
/ >first : /      { sent = $1 }
/ <first : move / { if (sent != "") print $1 - sent; sent = "" }
