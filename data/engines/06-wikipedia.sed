[Data]
Name=Wikipedia 日本語版
Keyword=w
Suggest=https://ja.wikipedia.org/w/api.php?action=opensearch&search={searchTerms}
Character=3
[URL1]
head=https://ja.wikipedia.org/w/index.php?search=
key=+
tail=&fulltext=1
[URL2]
head=https://ja.wikipedia.org/w/index.php?search=
key=+OR+
tail=&fulltext=1
