# J5 lookup: the product description from the table, after the record.
#   perl job.pl products.tbl master out
use strict;
use warnings;
open(my $tb, '<', $ARGV[0]) or die "$ARGV[0]: $!";
my %desc;
while (my $e = <$tb>) { $desc{substr($e, 0, 4)} = substr($e, 4, 20) }
open(my $in, '<', $ARGV[1]) or die "$ARGV[1]: $!";
open(my $out, '>', $ARGV[2]) or die "$ARGV[2]: $!";
while (my $r = <$in>) {
    my $d = $desc{substr($r, 51, 4)};
    if (defined $d) {
        chomp $r;
        print $out $r, $d, "\n";
    } else {
        print $out $r;
    }
}
close($out) or die "$ARGV[2]: $!";
