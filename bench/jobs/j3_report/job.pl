# J3 report: sales by state, headings on every page, subtotal per state, grand total.
#   perl job.pl bystate listing
# The listing: no separator before the first line; a skip of d lines is d line feeds; a
# new page (heading, or a skip past the page size) is a line feed and a form feed.
use strict;
use warnings;
open(my $in, '<', $ARGV[0]) or die "$ARGV[0]: $!";
open(my $out, '>', $ARGV[1]) or die "$ARGV[1]: $!";
my $line = 0;

sub prt {
    my ($text, $ctl) = @_;
    if ($line == 0) {
        print $out $text;
        $line = 1;
        return;
    }
    my $d = $ctl eq 'H' ? 99 : $ctl;
    if ($line + $d > 60) {
        print $out "\n\f", $text;
        $line = 1;
    } else {
        print $out "\n" x $d, $text;
        $line += $d;
    }
}
sub amt10 { my $x = shift; sprintf('%7d.%02d', int($x / 100), $x % 100) }
sub amt16 { my $x = shift; sprintf('%13d.%02d', int($x / 100), $x % 100) }

my ($page, $group, $grand, $prev) = (0, 0, 0, '');
my $n = 0;
while (my $r = <$in>) {
    my $st = substr($r, 49, 2);
    my $a = substr($r, 40, 9) + 0;
    if ($n++ && $st ne $prev) {
        prt(sprintf('  TOTAL FOR STATE %s%30s%s', $prev, '', amt16($group)), 2);
        prt('', 1);
        $group = 0;
    }
    if ($line == 0 || $line > 54) {
        $page++;
        prt(sprintf('%-49s%s %6d', 'SALES BY STATE', 'PAGE', $page), 'H');
        prt(sprintf('%-12s%-32s%-10s%s', 'KEY', 'NAME', 'ST', 'AMOUNT'), 2);
        prt('', 1);
    }
    prt(substr($r, 0, 10) . '  ' . substr($r, 10, 30) . '  ' . $st . '    ' . amt10($a), 1);
    $group += $a;
    $grand += $a;
    $prev = $st;
}
prt(sprintf('  TOTAL FOR STATE %s%30s%s', $prev, '', amt16($group)), 2);
prt(sprintf('%-50s%s', 'GRAND TOTAL', amt16($grand)), 2);
print $out "\n" if $line > 0;
close($out) or die "$ARGV[1]: $!";
