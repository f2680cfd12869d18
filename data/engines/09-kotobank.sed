[Data]
Name=コトバンク
Character=3
[URL1]
head=https://kotobank.jp/search?q=
key=+
tail=
