# J4 match: master and transactions by key, one to one.
#   awk -v trans=T -v matched=F3 -v mastonly=F4 -v transonly=F5 -f job.awk master
# matched: the master record with the transaction amount added and the transaction's date.
function next_trans() {
    if ((getline t < trans) > 0) tkey = substr(t, 1, 10)
    else have = 0
}
BEGIN { have = 1; next_trans() }
{
    mkey = substr($0, 1, 10)
    while (have && tkey < mkey) {
        print t > transonly
        next_trans()
    }
    if (have && tkey == mkey) {
        print substr($0, 1, 40) sprintf("%09d", (substr($0, 41, 9) + substr(t, 41, 9)) % 1000000000) \
              substr($0, 50, 6) substr(t, 56, 8) substr($0, 64) > matched
        next_trans()
    } else {
        print > mastonly
    }
}
END {
    while (have) {
        print t > transonly
        next_trans()
    }
}
