# J1 reformat: state, key, amount, product, name, date, phone.   perl job.pl master out
use strict;
use warnings;
open(my $in, '<', $ARGV[0]) or die "$ARGV[0]: $!";
open(my $out, '>', $ARGV[1]) or die "$ARGV[1]: $!";
while (my $r = <$in>) {
    print $out substr($r, 49, 2), substr($r, 0, 10), substr($r, 40, 9), substr($r, 51, 4),
      substr($r, 10, 30), substr($r, 55, 8), substr($r, 63, 12), "\n";
}
close($out) or die "$ARGV[1]: $!";
