[Data]
Name=楽天市場
Keyword=r
Character=3
[URL1]
head=https://search.rakuten.co.jp/search/mall/
key=+
tail=/
