# Converts an intensity profile (.txt) into a calibrated, normalised profile (.pro) with the
# same arithmetic and output as Pellum's profile converter: the file is named twice, the
# first pass finds the largest intensity. Fields separated by blanks and tabs, LF line ends.
#   awk -v a1=A1 -v a2=A2 -v a3=A3 -f bench/profile.awk film.txt film.txt
FNR == NR {
  if (FNR > 1 && NF >= 2 && $2 + 0 > max) max = $2 + 0
  next
}
FNR == 1 { printf "%s\t%s\t%s\t%s\n", "2 theta (degree)", "I/I(max)x100", "reflec_x", "reflec_y"; next }
NF >= 2 { x = $1 + 0; printf "%f\t%f\n", (a2 * x + a1) + (a3 * x) * x, $2 / max * 100 }
