[Data]
Name=Google ニュース
Keyword=n
Character=3
[URL1]
head=https://news.google.com/search?hl=ja&gl=JP&ceid=JP%3Aja&q=
key=+
tail=
[URL2]
head=https://news.google.com/search?hl=ja&gl=JP&ceid=JP%3Aja&q=
key=+OR+
tail=
