[Data]
Name=Amazon.co.jp
Keyword=a
Character=3
[URL1]
head=https://www.amazon.co.jp/s?k=
key=+
tail=
