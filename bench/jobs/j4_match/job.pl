# J4 match: master and transactions by key, one to one.
#   perl job.pl master trans matched masteronly transonly
# matched: the master record with the transaction amount added and the transaction's date.
use strict;
use warnings;
my ($mf, $tf, $mo, $ao, $bo) = @ARGV;
open(my $m, '<', $mf) or die "$mf: $!";
open(my $t, '<', $tf) or die "$tf: $!";
open(my $matched, '>', $mo) or die "$mo: $!";
open(my $aonly, '>', $ao) or die "$ao: $!";
open(my $bonly, '>', $bo) or die "$bo: $!";
my $high = "\xff" x 10;
my $a = <$m>;
my $b = <$t>;
my $ak = defined $a ? substr($a, 0, 10) : $high;
my $bk = defined $b ? substr($b, 0, 10) : $high;
while (defined $a || defined $b) {
    if ($ak lt $bk) {
        print $aonly $a;
        $a = <$m>;
        $ak = defined $a ? substr($a, 0, 10) : $high;
    } elsif ($bk lt $ak) {
        print $bonly $b;
        $b = <$t>;
        $bk = defined $b ? substr($b, 0, 10) : $high;
    } else {
        print $matched substr($a, 0, 40),
          sprintf('%09d', (substr($a, 40, 9) + substr($b, 40, 9)) % 1000000000),
          substr($a, 49, 6), substr($b, 55, 8), substr($a, 63);
        $a = <$m>;
        $ak = defined $a ? substr($a, 0, 10) : $high;
        $b = <$t>;
        $bk = defined $b ? substr($b, 0, 10) : $high;
    }
}
close($_) or die "close: $!" for ($matched, $aonly, $bonly);
