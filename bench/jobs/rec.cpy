*> One 100-byte data record (the layout that gen writes).
   05 R-KEY      PIC X(10).
   05 R-NAME     PIC X(30).
   05 R-AMOUNT   PIC 9(9).
   05 R-STATE    PIC X(2).
   05 R-PRODUCT  PIC X(4).
   05 R-DATE     PIC X(8).
   05 R-PHONE    PIC X(12).
   05 R-COMMENT  PIC X(24).
   05 R-TYPE     PIC X.
