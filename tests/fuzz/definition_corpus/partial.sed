[URL1]
head=h
key=+
