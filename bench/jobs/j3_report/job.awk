# J3 report: sales by state, headings on every page, subtotal per state, grand total.
#   awk -v out=F -f job.awk bystate
# The listing: no separator before the first line; a skip of d lines is d line feeds; a
# new page (heading, or a skip past the page size) is a line feed and a form feed.
function prt(text, ctl,    d) {
    if (line == 0) {
        printf "%s", text > out
        line = 1
        return
    }
    d = (ctl == "H") ? 99 : ctl + 0
    if (line + d > 60) {
        printf "\n\f%s", text > out
        line = 1
    } else {
        printf "%s%s", substr("\n\n\n\n\n\n\n\n\n", 1, d), text > out
        line += d
    }
}
function amt10(x) { return sprintf("%7d.%02d", int(x / 100), x % 100) }
function amt16(x,    c) { c = x % 100; return sprintf("%13.0f.%02d", (x - c) / 100, c) }
function subtotal() { prt(sprintf("  TOTAL FOR STATE %s%30s%s", prev, "", amt16(group)), 2) }
{
    st = substr($0, 50, 2)
    a = substr($0, 41, 9) + 0
    if (NR > 1 && st != prev) {
        subtotal()
        prt("", 1)
        group = 0
    }
    if (line == 0 || line > 54) {
        page++
        prt(sprintf("%-49s%s %6d", "SALES BY STATE", "PAGE", page), "H")
        prt(sprintf("%-12s%-32s%-10s%s", "KEY", "NAME", "ST", "AMOUNT"), 2)
        prt("", 1)
    }
    prt(substr($0, 1, 10) "  " substr($0, 11, 30) "  " st "    " amt10(a), 1)
    group += a
    grand += a
    prev = st
}
END {
    subtotal()
    prt(sprintf("%-50s%s", "GRAND TOTAL", amt16(grand)), 2)
    if (line > 0) printf "\n" > out
}
