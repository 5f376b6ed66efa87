1000
1001
gcmt-samples.ndk
7
y
2001
sish.txt
1000
y
Seismicity map
99
99
99
9999

