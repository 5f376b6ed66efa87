1000
1001
gcmt-samples.ndk
3000
1000
y
Beach balls
99
9999

