[Data]
Name=Google 画像検索
Keyword=i
Character=3
[URL1]
head=https://www.google.com/search?hl=ja&tbm=isch&q=
key=+
tail=
[URL2]
head=https://www.google.com/search?hl=ja&tbm=isch&q=
key=+OR+
tail=
