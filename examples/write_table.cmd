1000
1001
gcmt-samples.ndk
1200
2001
table.txt

99
9999
