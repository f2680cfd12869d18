[Data]
Name=Yahoo! JAPAN
Keyword=y
Character=3
[URL1]
head=https://search.yahoo.co.jp/search?ei=UTF-8&p=
key=+
tail=
[URL2]
head=https://search.yahoo.co.jp/search?ei=UTF-8&p=
key=+OR+
tail=
