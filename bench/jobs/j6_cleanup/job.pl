# J6 clean-up: names to capitals, dots in the phone number, memo spelled out, then the
# position of the first "late" (four digits, or four blanks) before the record.
#   perl job.pl master out
use strict;
use warnings;
open(my $in, '<', $ARGV[0]) or die "$ARGV[0]: $!";
open(my $out, '>', $ARGV[1]) or die "$ARGV[1]: $!";
while (my $r = <$in>) {
    chomp $r;
    substr($r, 10, 30) =~ tr/a-z/A-Z/;
    substr($r, 63, 12) =~ tr/-/./;
    $r =~ s/memo/MEMORANDUM/g;
    my $p = index($r, 'late');
    $r = ($p >= 0 ? sprintf('%04d', $p + 1) : '    ') . substr($r, 0, 150);
    $r =~ s/ +$//;
    print $out $r, "\n";
}
close($out) or die "$ARGV[1]: $!";
