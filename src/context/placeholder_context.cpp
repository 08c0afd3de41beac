// placeholder: replaced as the layer grows
