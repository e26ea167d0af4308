# J6 clean-up: names to capitals, dots in the phone number, memo spelled out, then the
# position of the first "late" (four digits, or four blanks) before the record.
#   awk -v out=F -f job.awk master
{
    ph = substr($0, 64, 12)
    gsub(/-/, ".", ph)
    r = substr($0, 1, 10) toupper(substr($0, 11, 30)) substr($0, 41, 23) ph substr($0, 76)
    gsub(/memo/, "MEMORANDUM", r)
    p = index(r, "late")
    r = (p ? sprintf("%04d", p) : "    ") substr(r, 1, 150)
    sub(/ +$/, "", r)
    print r > out
}
