[Data]
Name=コトバンク
Keyword=k
Character=3
[URL1]
head=https://kotobank.jp/search?q=
key=+
tail=
