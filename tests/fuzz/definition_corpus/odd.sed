[Data]
Name=ƒ\•\
[URL1]
head="  quoted  "
key=+
head=second
[url2]
HEAD=x
