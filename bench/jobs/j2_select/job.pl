# J2 select and total: the records of one state, their count and total amount.
#   perl job.pl master out
use strict;
use warnings;
open(my $in, '<', $ARGV[0]) or die "$ARGV[0]: $!";
open(my $out, '>', $ARGV[1]) or die "$ARGV[1]: $!";
my ($n, $t) = (0, 0);
while (my $r = <$in>) {
    next unless substr($r, 49, 2) eq 'CA';
    print $out $r;
    $n++;
    $t += substr($r, 40, 9);
}
printf $out "TOTAL CA %09d %015d\n", $n, $t;
close($out) or die "$ARGV[1]: $!";
