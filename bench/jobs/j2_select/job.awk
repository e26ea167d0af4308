# J2 select and total: the records of one state, their count and total amount.
#   awk -v out=F -f job.awk master
substr($0, 50, 2) == "CA" {
    print > out
    n++
    t += substr($0, 41, 9)
}
END { printf "TOTAL CA %09d %015.0f\n", n, t > out }
