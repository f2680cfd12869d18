[Data]
Name=Google マップ
Keyword=m
Character=3
[URL1]
head=https://www.google.com/maps/search/
key=+
tail=
