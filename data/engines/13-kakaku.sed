[Data]
Name=価格.com
[URL1]
head=https://kakaku.com/search_results/
key=+
tail=/
