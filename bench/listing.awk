# Converts a peak listing (.pid) into a reflection list (.dat) with the same arithmetic and
# output as Pellum's listing converter, for files whose fields are separated by blanks and
# tabs and whose lines end in LF. Used as the reference for the golden files and as the
# yardstick of `make bench`.
#   awk -v a1=A1 -v a2=A2 -v a3=A3 -v out=OUTPUT_PATH -f bench/listing.awk film.pid
BEGIN { header = 1; print out }
header {
  # The header ends with the first line whose first field begins with a character of "2-Theta".
  if (NF > 0 && index("2-Theta", substr($1, 1, 1)) > 0) header = 0
  next
}
NF >= 5 { x = $1 + 0; printf "0 0 0  %10f%10.1f\n", (a2 * x + a1) + (a3 * x) * x, $5 + 0 }
END { if (!header) print "0 0 0" }
