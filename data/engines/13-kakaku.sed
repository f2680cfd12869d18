[Data]
Name=価格.com
Keyword=kk
[URL1]
head=https://kakaku.com/search_results/
key=+
tail=/
