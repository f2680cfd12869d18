[Data]
Name=goo 辞書
Keyword=d
Character=3
[URL1]
head=https://dictionary.goo.ne.jp/srch/all/
key=%20
tail=/m0u/
