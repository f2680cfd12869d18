[Data]
Name=YouTube 動画
Keyword=yt
Suggest=https://suggestqueries.google.com/complete/search?client=firefox&ds=yt&q={searchTerms}
Character=3
[URL1]
head=https://www.youtube.com/results?search_query=
key=+
tail=
[URL2]
head=https://www.youtube.com/results?search_query=
key=+%7C+
tail=
