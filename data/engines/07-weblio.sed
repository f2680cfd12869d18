[Data]
Name=Weblio 辞書
Keyword=wb
Character=3
[URL1]
head=https://www.weblio.jp/content_find?searchType=exact&query=
key=+
tail=
