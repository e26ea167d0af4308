# J1 reformat: state, key, amount, product, name, date, phone.   awk -v out=F -f job.awk master
{
    print substr($0, 50, 2) substr($0, 1, 10) substr($0, 41, 9) substr($0, 52, 4) \
          substr($0, 11, 30) substr($0, 56, 8) substr($0, 64, 12) > out
}
