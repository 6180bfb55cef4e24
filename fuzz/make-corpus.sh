#!/usr/bin/env bash
# Writes the seed inputs in fuzz/corpus/<target>/ from the replies and command lines the link's tests use
# (tests/link: TestReplyParsing, TestPhoneQuirks, TestPhoneEmulator and the scripts ScriptedPhone plays) and
# from the shapes of vCard files the model's vCard tests read.
# The seeds are committed beside the finds of open-ended runs (fuzz/run-bounded.sh), which this leaves alone;
# run it again after changing it. Each seed is one input, written with printf %b (so "\r", "\n" and "\xNN"
# stand for their bytes).
set -euo pipefail
cd "$(dirname "$0")"

seed() { # seed TARGET NAME TEXT
  mkdir -p "corpus/$1"
  printf '%b' "$3" >"corpus/$1/$2"
}

# The seeds are written anew; the inputs open-ended runs merged in (named by their SHA-1) stay.
if [[ -d corpus ]]; then
  find corpus -regextype posix-extended -type f ! -regex '.*/[0-9a-f]{40}' -delete
fi

# fuzz_at_reply: one reply line each.
n=0
while IFS= read -r line; do
  n=$((n + 1))
  seed at_reply "$(printf 'line-%02d' "$n")" "$line"
done <<'LINES'
OK
  OK 
ERROR
+CME ERROR: 21
+CME ERROR: invalid index
+CMS ERROR: 500
+CME ERROR: 99999999999
OKAY
RING
+CREG: 1,"00A1","1B2C"
+CMTI: "SM",3
^RSSI:17
+PBREADY
+CPBR: (1-250),20,14
+CPBR: (1-250),40,16,0,0,0
+CPBR: (001-100),20,16
+CPBR: 1-30,20,18
+CPBR: (1-10),,
+CPBR: (10-1),20,16
+CPBS: "SM",23,250
+CPBS: "ME"
+CPBS: ON,1,4
+CPBS: "SM",-,?
+CPBS: ("ME","SM","DC","RC","MC","MV","HP","BC","EN","ON","FD")
+CPBS: (SM,FD, ON)
+CSCS: ("GSM","IRA","8859-1","UTF-8","UCS2")
+CSCS: "UCS2"
+CPBR: 1,"+49301234567",145,"Tom"
+CPBR: 3,"0123456",129,"Mum",0
+CPBR: 2,"13800138000",129,"004A006F0065",0,"",""
+CPBR: 4,"1",129,"Doe, John"
+CPBR: 5,"1",129,"Bob "Jr" Smith"
+CPBR: 6,"1",129,"Anna
+CPBR: 7,0301,129,Work
+CPBR: 8,"555",,"X"
+CPBR: 9,"555",129
+CPBR: 40000,"1",129,"Far"
+CPBR: x,"1",129,"A"
+CPBR: 120,"5551234",129,"Bob, the "Builder",0,1
\xff\xfe+CPB
\x7f\x01garbage line
LINES

# ... and identification answers of several lines.
seed at_reply identity-prefixed '\r\n+CGMI: "Sony Ericsson"\r\n\r\nOK\r\n'
seed at_reply identity-after-urc 'RING\n+CREG: 1\nSIEMENS\nOK\n'
seed at_reply identity-model '+CGMM: "E173"\n+CGMI: Huawei\nOK'

# fuzz_phonebook: what a phone answers before and while it lists a storage, one line after the other.
seed phonebook sony-ericsson-ucs2 '+CSCS: ("GSM","IRA","8859-1","UTF-8","UCS2")\r\nRING\r\n+CPBS: ("ME","SM","DC","RC","MC","MV","HP","BC","EN","ON","FD")\r\n+CPBR: (1-510),80,30\r\n+CREG: 1\r\n+CPBS: "ME",3,510\r\n+CPBR: 1,"+46812345678",145,"00C50073006100200042006A00F60072006B"\r\n+CREG: 1,"00A1","1B2C"\r\n+CPBR: 2,"002B003400360037",145,"041C0430043C0430"\r\n+CPBR: 3,"112",129,"0045004D0045005200470045004E00430059"\r\nOK\r\n'
seed phonebook siemens-hex '+CSCS: ("GSM","HEX")\r\n+CPBS: ("FD","SM","ON","ME","LD","MC","RC")\r\n+CPBR: (1-100),20,14\r\n+CPBS: "SM"\r\n+CPBR: 1,"+49301234567",145,"546F6D"\r\n+CPBR: 2,"0301",129,"4A7C7267001B65"\r\n+CPBR: 3,"",129,""\r\n+CPBR: 0,"1",129,"4141"\r\n+CPBR: 150,"1",129,"4242"\r\n+CPBR: 40000,"1",129,"4343"\r\n+CPBR: 2,"999",129,"4444"\r\n\x7f\x01garbage line\r\n+CPBR: 4,"0123456789012345678901234",129,"4142434445464748494A4B4C4D4E4F50"\r\n+CPBR: 5,"77",129,"Plain text"\r\nOK\r\n'
seed phonebook motorola-ira '+CSCS: ("IRA")\r\n+CPBS: ("ME","SM","LD","MC","RC","ON","FD")\r\n+CPBR: (1-250),32,24,0,0\r\n+CPBS: "RC",2,250\r\n+CME ERROR: 22\r\n+CPBR: 120,"5551234",129,"Bob, the "Builder",0,1\r\n+CPBR: 130,5556789,129,Alice,0\r\nOK\r\nERROR\r\n'
seed phonebook gsm-only '+CSCS: ("GSM")\r\n+CPBR: (1-250),20,16\r\n+CPBS: "SM",2,250\r\n+CPBR: 1,"+4930123456",145,"Anna M\x7Eller"\r\n+CPBR: 2,"*100#",129,"Mailbox"\r\nOK\r\n'
seed phonebook latin1 '+CSCS: ("IRA","8859-1")\r\n+CPBR: (1-10)\r\n+CPBR: 1,"030-123 45;ATH",129,"Caf\xE9"\r\n+CPBR: 2,"4930123456789012345678",145,"ABCDEFGHIJKLMNOPQRSTUVWXYZ"\r\n'
seed phonebook ucs2-cut '+CSCS: "UCS2"\r\n+CPBR: (1-250),20,16\r\n+CPBR: 1,"4930",145,"004100410041004100410041004100410041004100410041004100410041005B"\r\n+CPBR: 5,"002B003400390033",145,"0058"\r\n'
seed phonebook huawei-trailing '+CSCS: ("GSM","UCS2")\r\n+CPBR: (1-250),40,16,0,0,0\r\n+CPBR: 2,"13800138000",129,"004A006F0065",0,"",""\r\n'
seed phonebook wavecom-padded '+CSCS: ("GSM")\r\n+CPBR: (001-100),20,16\r\n+CPBS: ON,1,4\r\n+CPBR: 7,0301,129,Work\r\n+CPBR: 8,"555",,"X"\r\n+CPBR: 9,"555",129\r\n'
seed phonebook noise '\r\n\x01\x02\xff noise\r\n'
seed phonebook no-answers 'OK\r\n'

# fuzz_charset: name fields as phones send them, and names as the program has them.
seed charset ucs2 '004D00FC006C006C00650072'
seed charset ucs2-cyrillic '041C0430043C0430'
seed charset ucs2-quote '004100220042'
seed charset hex-at-euro '41001B65'
seed charset hex-name '4A7C7267001B65'
seed charset hex-sixteen '4142434445464748494A4B4C4D4E4F50'
seed charset gsm-codes 'J\x7Crg'
seed charset gsm-escapes 'B\x1B\x3C\x1B\x65\x1B\x3E\x1B'
seed charset block-bytes '\x81home \x1B\x3C\x1B\x65\x1B\x3E Zo\xEB'
seed charset ira 'Bob'
seed charset latin1 'Caf\xE9 \xD6l \xC4\xDC@'
seed charset utf8-names 'Anna M\xC3\xBCller \xE2\x82\xAC [x] ~|^{}\\'
seed charset utf8-cyrillic '\xD0\x9C\xD0\xB0\xD0\xBC\xD0\xB0'
seed charset unsafe 'A"B\rATD110;\x1A'
seed charset ucs2-anna '0041006E006E00610020004D00FC006C006C00650072'
seed charset hex-anna '416E6E61204D7E6C6C6572'
seed charset ucs2-number '002B003400390033'
seed charset gsm-pena 'Pe\x7Da I\x7Digo'
seed charset lone-escape 'ABCDEFG\x1B'
seed charset sim-alpha '8000410042FFFF'

# fuzz_emulator: command lines, each ended by CR as a terminal program sends them.
seed emulator identify 'AT\rat\rAT+CGMI\rAT+CGMM\rAT+CGMR\rAT+CGSN\rAT+CPIN?\rATI\r'
seed emulator tests 'AT+CSCS=?\rAT+CPBS=?\rAT+CPBS?\rAT+CPBR=?\rAT+CPBW=?\rAT+CMEE=?\rAT+CMEE?\r'
seed emulator read-ranges 'AT+CPBR=3\rAT+CPBR=6\rAT+CPBR=7,8\rAT+CPBR=1,251\rAT+CPBR=9,8\rAT+CPBR=0\r'
seed emulator errors 'AT+CFOO\rHELLO\rAT+CMEE=1\rAT+CPBR=0\rAT+CMEE=2\rAT+CPBR=0\rAT+CMEE=7\r'
seed emulator chained 'AT+CMEE=1;+CPIN?\rATE0\rATE1\rATE0;+CMEE=1;+CPBS="ME"\rATZ\rAT+CPBS?\r'
seed emulator writes 'AT+CMEE=1\rAT+CPBW=6,"4930",145,"Sixteen chars ok"\rAT+CPBW=6,"1",129,"Seventeen chars!!"\rAT+CPBW=6,"+123456789012345678901",145,"X"\rAT+CPBW=6,"12A",129,"X"\rAT+CPBW=251,"1",129,"X"\rAT+CPBW=,"1",129,"First free"\rAT+CPBW=1\rAT+CPBS="LD"\rAT+CPBW=1\r'
seed emulator charsets 'AT+CPBW=1,"+4930123456",145,"Anna M\xC3\xBCller"\rAT+CSCS="UCS2"\rAT+CSCS?\rAT+CPBR=1\rAT+CSCS="HEX"\rAT+CPBR=1\rAT+CSCS="IRA"\rAT+CPBR=1\rAT+CSCS="KOI8"\r'
seed emulator ucs2-write 'AT+CSCS="UCS2"\rAT+CPBW=20,"123",129,"041C0430043C0430"\rAT+CPBR=20\rAT+CSCS="GSM"\rAT+CPBR=1,250\r'
seed emulator hex-write 'AT+CSCS="HEX"\rAT+CPBS="ON"\rAT+CPBW=2,"*100#",129,"4A7C7267001B65"\rAT+CPBR=1,4\r'
seed emulator list-all 'AT+CPBS="ME"\rAT+CPBW=,"+4930",145,"Mama"\rAT+CPBW=,"0301112233",129,"Pizza Express"\rAT+CPBR=1,500\r'
seed emulator gsm-write 'AT+CSCS="GSM"\rAT+CPBW=3,"0301234567",129,"B\x7Ero"\rAT+CPBR=3\r'
seed emulator empty-record 'AT+CPBW=5,"",129,""\rAT+CPBR=5\rAT+CPBW=5\r'
seed emulator quoted-separators 'AT+CPBW=8,"1,2",129,"a;b"\rAT+CPBR=8;+CPBS?\r'
seed emulator storages 'AT+CPBS="FD"\rAT+CPBW=1,"112",129,"Notruf"\rAT+CPBS="MC"\rAT+CPBW=1,"1",129,"X"\rAT+CPBS="XX"\rAT+CPBS?\r'

# fuzz_vcard: files in the shapes phones and address-book programs write, and broken ones.
seed vcard android-21 'BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;;\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=B6rg M=C3=BC=\r\nller\r\nTEL;CELL;PREF:+49 170 1\r\nTEL;HOME;VOICE:030 2\r\nX-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;J;1;;;;;;;;;;;;;\r\nEND:VCARD\r\n'
seed vcard photo-21 'BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Pic\r\nPHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD\r\n AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\r\n\r\nTEL:1\r\nEND:VCARD\r\n'
seed vcard evolution-30 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Long-Name-That-Goes-On-And-On-Beyond-Seventy-Five-Octets-Of-Text-Here\r\n  Folded\r\nN:Long;Anna;;;\r\nTEL;TYPE=CELL;X-EVOLUTION-UI-SLOT=1:+4930123\r\nNOTE:Line one\\nLine two\\, with comma\\; and semicolon \\\\ backslash\r\nEND:VCARD\r\n'
seed vcard nextcloud-30 'BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Sabre//Sabre VObject 4.4.2//EN\r\nUID:1234-5678\r\nFN:Bert\r\nitem1.TEL;TYPE="HOME,VOICE":+44 20 1\r\nitem1.X-ABLabel:_$!<Home>!$_\r\nEND:VCARD\r\n'
seed vcard thunderbird-40 'BEGIN:VCARD\r\nVERSION:4.0\r\nPRODID:-//Thunderbird\r\nFN:Zo\xC3\xAB\r\nN:;Zo\xC3\xAB;;;\r\nTEL;VALUE=TEXT;TYPE=cell:*100#\r\nTEL;VALUE=uri;TYPE="work,voice";PREF=1:tel:+49-30-1234\r\nUID:abc\r\nEND:VCARD\r\n'
seed vcard broken 'BEGIN:VCARD\nVERSION:3.0\nFN:Half\nTEL:2\nBEGIN:VCARD\nVERSION:3.0\nFN:Broken\nTEL444\nEND:VCARD\nBEGIN:VCARD\nFN:Last\nTEL:3\n'
seed vcard latin1 'BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1:J\xF6rg \x80\r\nTEL;WORK;FAX:0301\r\nEND:VCARD\r\n'
# Characters that are no part of a name, which reading takes out. A byte order mark inside values broke "read,
# write, read again gives the same name" (a UTF-8 decoder drops it only at a value's start).
seed vcard byte-order-mark-inside-name-30 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Iv\xEF\xBB\xBFan\r\nN:Petrov;\xEF\xBB\xBFIvan;;;\r\nTEL:1\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nN:Petrov;\xEF\xBB\xBFIvan;;;\r\nTEL:2\r\nEND:VCARD\r\n'
# Half a surrogate pair from broken UTF-16 (UTF-8 writes "?" for it).
seed vcard lone-surrogate-utf16-21 'BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-16LE;ENCODING=QUOTED-PRINTABLE:A=00=00=D8B=00\r\nTEL:1\r\nEND:VCARD\r\n'
# U+0000 inside a name, from quoted-printable and from a tel: URI (the address book would cut the text there).
seed vcard nul-inside-name-21 'BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:=00Anna=00Berta\r\nTEL;VALUE=uri:tel:+49%0030\r\nEND:VCARD\r\n'

# fuzz_card_merge: the last synchronised card, byte 0x01, the server's card (one card alone stands for both).
seed card_merge icloud-30 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nowak;\xC5\x81ukasz;;;\r\nFN:\xC5\x81ukasz Nowak\r\nitem1.EMAIL;type=INTERNET:l@example.org\r\nitem1.X-ABLabel:_$!<Other>!$_\r\nTEL;type=HOME:+48 22 1\r\nitem2.TEL;type=CELL;type=pref:+48 601 2\r\nitem2.X-ABLabel:_$!<Mobile>!$_\r\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkI\r\n CQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD\r\nNOTE:Met\\, hall 3\r\nCATEGORIES:Work,Family\r\nUID:8D2B\r\nEND:VCARD\r\n'
seed card_merge both-changed-40 'BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna\r\nTEL;VALUE=uri;PREF=1:tel:+49-30-1\r\nX-KORVANE-INDEX:3\r\nUID:u\r\nEND:VCARD\r\n\x01BEGIN:VCARD\nVERSION:4.0\nFN:Anna Berg\nTEL;VALUE=uri;PREF=1:tel:+49-30-2\nTEL;TYPE=cell:+1 5\nX-KORVANE-INDEX:4\nX-KORVANE-VIP:1\nUID:u\nEND:VCARD\n'
seed card_merge blank-lines-21 'BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=B6rg=\r\n M\r\nPHOTO;ENCODING=BASE64;JPEG:/9j/4AAQ\r\n AAAA\r\nNOTE:a\r\n\r\n orphan\r\nNOTE:b\r\n\r\nzzz\r\nTEL;CELL:+49 170 1\r\nEND:VCARD\r\n'
