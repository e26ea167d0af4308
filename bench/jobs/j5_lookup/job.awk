# J5 lookup: the product description from the table, after the record.
#   awk -v out=F -f job.awk products.tbl master
NR == FNR {
    desc[substr($0, 1, 4)] = substr($0, 5, 20)
    next
}
{
    c = substr($0, 52, 4)
    if (c in desc) print $0 desc[c] > out
    else print > out
}
