1000
1001
gcmt-samples.ndk
1100
9999
